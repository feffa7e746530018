#include "prices/csvtext.h"

namespace zantro {

bool CsvReader::Next(CsvRecord& out) {
  // The strings of the last record are reused: a library of 100 000 lines then costs no
  // allocation per field.
  size_t count = 0;
  auto next = [&]() -> std::string& {
    if (count == out.Fields.size()) out.Fields.emplace_back();
    std::string& f = out.Fields[count++];
    f.clear();
    return f;
  };
  if (pos_ >= text_.size()) {
    out.Fields.clear();
    return false;
  }
  out.Line = line_;
  const size_t n = text_.size();
  for (;;) {
    std::string& field = next();
    if (pos_ < n && text_[pos_] == '"') {
      ++pos_;
      for (;;) {
        size_t q = text_.find('"', pos_);
        if (q == std::string_view::npos) {  // never closed: the rest of the text
          for (size_t i = pos_; i < n; ++i) line_ += text_[i] == '\n';
          field.append(text_.substr(pos_));
          pos_ = n;
          unclosed_ = true;
          break;
        }
        for (size_t i = pos_; i < q; ++i) line_ += text_[i] == '\n';
        field.append(text_.substr(pos_, q - pos_));
        pos_ = q + 1;
        if (pos_ < n && text_[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        break;
      }
      // Text after the closing quote up to the separator belongs to the field, as spreadsheets read it.
      size_t stop = text_.find_first_of(",\r\n", pos_);
      if (stop == std::string_view::npos) stop = n;
      field.append(text_.substr(pos_, stop - pos_));
      pos_ = stop;
    } else {
      size_t stop = text_.find_first_of(",\r\n", pos_);
      if (stop == std::string_view::npos) stop = n;
      field.assign(text_.substr(pos_, stop - pos_));
      pos_ = stop;
    }
    if (pos_ >= n) {
      out.Fields.resize(count);
      return true;
    }
    char c = text_[pos_];
    if (c == ',') {
      ++pos_;
      continue;
    }
    // End of the record: CR LF, LF, or a lone CR.
    ++pos_;
    if (c == '\r' && pos_ < n && text_[pos_] == '\n') ++pos_;
    ++line_;
    out.Fields.resize(count);
    return true;
  }
}

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos && (field.empty() || (field.front() != ' ' && field.back() != ' '))) {
    out.append(field);
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) out += ',';
    AppendCsvField(out, fields[i]);
  }
  out += "\r\n";
}

}  // namespace zantro
