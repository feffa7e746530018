#include "messages/fields.h"

#include "platform/cp932.h"

namespace zantro {

FieldReader::FieldReader(std::string_view text) {
  for (size_t at = text.find(';'); at != std::string_view::npos; at = text.find(';')) {
    fields_.emplace_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
}

const std::string& FieldReader::Text(int k) const {
  static const std::string kEmpty;
  if (fields_.empty() || k < 1) return kEmpty;
  return fields_[std::min<size_t>(static_cast<size_t>(k), fields_.size()) - 1];
}

void FieldReader::Refuse(int k, const std::exception& e) const {
  throw ConversionError(Text(1) + " field " + std::to_string(k) + ": " + e.what());
}

Money FieldReader::MoneyField(int k) const {
  try {
    return TextToMoney(Text(k));
  } catch (const ConversionError& e) {
    Refuse(k, e);
  }
}

Money FieldReader::StrictMoney(int k) const {
  try {
    return StrToCurr(Text(k));
  } catch (const ConversionError& e) {
    Refuse(k, e);
  }
}

int32_t FieldReader::Integer(int k) const { return StrToIntDef(Text(k), 0); }

int32_t FieldReader::StrictInteger(int k) const {
  try {
    return StrToInt(Text(k));
  } catch (const ConversionError& e) {
    Refuse(k, e);
  }
}

FieldWriter& FieldWriter::Text(std::string_view text, std::string_view what) {
  if (text.find(';') != std::string_view::npos)
    throw MessageError(std::string(what) + "に「;」は使えません: " + ToUtf8(text));
  out_.append(text);
  out_.push_back(';');
  return *this;
}

FieldWriter& FieldWriter::Number(Money m) {
  out_ += MoneyToPlainText(m);
  out_.push_back(';');
  return *this;
}

FieldWriter& FieldWriter::Number(int64_t v) {
  out_ += std::to_string(v);
  out_.push_back(';');
  return *this;
}

}  // namespace zantro
