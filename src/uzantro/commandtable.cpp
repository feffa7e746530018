#include "uzantro/commandtable.h"

namespace zantro {

void CommandTable::Register(const QString& word, CommandMode mode, CommandHandler handler) {
  Entry& e = entries_[word];
  bool sheet = mode != CommandMode::Breakdown, breakdown = mode != CommandMode::Sheet;
  if ((sheet && e.sheet) || (breakdown && e.breakdown))
    throw std::logic_error("command word registered twice: " + word.toStdString());
  if (sheet) e.sheet = handler;
  if (breakdown) e.breakdown = std::move(handler);
}

const CommandHandler* CommandTable::Find(const QString& word, bool sheetMode) const {
  auto it = entries_.find(word);
  if (it == entries_.end()) return nullptr;
  const CommandHandler& h = sheetMode ? it->second.sheet : it->second.breakdown;
  return h ? &h : nullptr;
}

bool CommandTable::Knows(const QString& word) const { return entries_.count(word) > 0; }

}  // namespace zantro
