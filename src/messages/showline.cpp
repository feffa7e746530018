#include "messages/showline.h"

#include "messages/fields.h"

namespace zantro {

std::string ShowLineMessage::Encode() const {
  FieldWriter w;
  w.Text(kShowLineName, "command").Number(int64_t{Item}).Number(int64_t{Row}).Text(Name, "工種名");
  return w.str();
}

ShowLineMessage ShowLineMessage::Decode(std::string_view text) {
  FieldReader f(text);
  if (f.Text(1) != kShowLineName) throw MessageError("not " + std::string(kShowLineName) + ": " + f.Text(1));
  ShowLineMessage m{f.StrictInteger(2), f.StrictInteger(3), f.Count() >= 4 ? f.Text(4) : std::string()};
  if (m.Item < 1 || m.Row < 0)
    throw MessageError(std::string(kShowLineName) + ": no such place: item " + std::to_string(m.Item) + ", row " +
                       std::to_string(m.Row));
  return m;
}

}  // namespace zantro
