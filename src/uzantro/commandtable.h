// The command words of the window: every item and button that carries a word in its "hint"
// reaches the dispatcher, which looks the word up here. Each module registers its words once,
// at start-up, with the mode they serve: the sheet tabs, the breakdown list (tab 0) or both.
// A word may have one entry for the sheet and another for the breakdown list; a word
// registered twice for the same mode is a programming error found at start-up.
#pragma once
#include <QString>
#include <functional>
#include <map>
#include <stdexcept>

class QObject;

namespace zantro {

enum class CommandMode { Sheet, Breakdown, Both };

// sender: the item or button that carried the word (nullptr from a script's "hint").
using CommandHandler = std::function<void(QObject* sender)>;

class CommandTable {
 public:
  // Raises std::logic_error when word already has an entry for a mode that mode covers.
  void Register(const QString& word, CommandMode mode, CommandHandler handler);

  // The handler of word in the mode shown (sheet or breakdown); nullptr when none.
  const CommandHandler* Find(const QString& word, bool sheetMode) const;
  // True when word has an entry for any mode.
  bool Knows(const QString& word) const;

 private:
  struct Entry {
    CommandHandler sheet, breakdown;
  };
  std::map<QString, Entry> entries_;
};

}  // namespace zantro
