#include "prices/xlsxread.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "general/errors.h"

namespace zantro {
namespace {

uint32_t U16(std::string_view b, size_t at) {
  if (at + 2 > b.size()) throw std::out_of_range("zip");
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// The largest entry inflated: far above a price list's sheet, low enough that a crafted archive
// does not fill the memory.
constexpr uint32_t kMaxEntryBytes = 256u << 20;

std::string Inflate(std::string_view data, uint32_t size, const std::string& fileName) {
  if (size > kMaxEntryBytes) throw FileError(fileName + ": ブックが大きすぎます");
  std::string out(size, '\0');
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw FileError(fileName + ": 展開できません");
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = size;
  int rc = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  if (rc != Z_STREAM_END || z.total_out != size) throw FileError(fileName + ": ブックの圧縮データが壊れています");
  return out;
}

std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    size_t semi = s.find(';', i);
    if (semi == std::string_view::npos) {
      out += s[i];
      continue;
    }
    std::string_view ent = s.substr(i + 1, semi - i - 1);
    uint32_t cp = 0;
    if (ent == "amp") out += '&';
    else if (ent == "lt") out += '<';
    else if (ent == "gt") out += '>';
    else if (ent == "quot") out += '"';
    else if (ent == "apos") out += '\'';
    else if (ent.starts_with("#")) {
      cp = static_cast<uint32_t>(std::strtoul(std::string(ent.substr(ent.starts_with("#x") ? 2 : 1)).c_str(), nullptr,
                                              ent.starts_with("#x") ? 16 : 10));
      if (cp < 0x80) out += static_cast<char>(cp);
      else if (cp < 0x800) out += static_cast<char>(0xC0 | cp >> 6), out += static_cast<char>(0x80 | (cp & 0x3F));
      else if (cp < 0x10000)
        out += static_cast<char>(0xE0 | cp >> 12), out += static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
            out += static_cast<char>(0x80 | (cp & 0x3F));
      else
        out += static_cast<char>(0xF0 | cp >> 18), out += static_cast<char>(0x80 | (cp >> 12 & 0x3F)),
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F)), out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out.append(s.substr(i, semi - i + 1));
    }
    i = semi;
  }
  return out;
}

// The texts of every <t> element inside [from, to) of xml, joined (the runs of a rich text).
std::string Texts(std::string_view xml) {
  std::string out;
  for (size_t p = 0; (p = xml.find("<t", p)) != std::string_view::npos;) {
    size_t gt = xml.find('>', p);
    if (gt == std::string_view::npos) break;
    char after = xml[p + 2];
    if (after != '>' && after != ' ') {  // <tag...> that only begins with "t"
      p = gt;
      continue;
    }
    if (xml[gt - 1] == '/') {  // <t/>
      p = gt;
      continue;
    }
    size_t end = xml.find("</t>", gt);
    if (end == std::string_view::npos) break;
    out += Unescape(xml.substr(gt + 1, end - gt - 1));
    p = end + 4;
  }
  return out;
}

std::string Attribute(std::string_view tag, std::string_view name) {
  std::string key = " " + std::string(name) + "=\"";
  size_t p = tag.find(key);
  if (p == std::string_view::npos) return {};
  p += key.size();
  size_t q = tag.find('"', p);
  return q == std::string_view::npos ? std::string() : std::string(tag.substr(p, q - p));
}

// Column index (from 0) of a cell reference such as "AB12".
int ColumnOf(std::string_view ref) {
  int col = 0;
  for (char c : ref) {
    if (c < 'A' || c > 'Z') break;
    col = col * 26 + (c - 'A' + 1);
  }
  return col - 1;
}

}  // namespace

std::string ZipEntry(std::string_view zip, std::string_view name, const std::string& fileName) {
  try {
    // The end of the central directory: the last signature within the comment's reach.
    size_t eocd = std::string_view::npos;
    for (size_t i = zip.size() >= 22 ? zip.size() - 22 : 0; i + 22 <= zip.size(); --i) {
      if (U32(zip, i) == 0x06054b50) {
        eocd = i;
        break;
      }
      if (i == 0 || zip.size() - i > 22 + 65535) break;
    }
    if (eocd == std::string_view::npos) throw FileError(fileName + ": Excelのブック（.xlsx）ではありません");
    uint32_t entries = U16(zip, eocd + 10), dir = U32(zip, eocd + 16);
    size_t p = dir;
    for (uint32_t e = 0; e < entries; ++e) {
      if (U32(zip, p) != 0x02014b50) break;
      uint32_t method = U16(zip, p + 10), csize = U32(zip, p + 20), usize = U32(zip, p + 24);
      uint32_t nlen = U16(zip, p + 28), xlen = U16(zip, p + 30), clen = U16(zip, p + 32), local = U32(zip, p + 42);
      if (p + 46 + nlen > zip.size()) break;
      std::string_view entry = zip.substr(p + 46, nlen);
      p += 46 + nlen + xlen + clen;
      if (entry != name) continue;
      if (U32(zip, local) != 0x04034b50) break;
      size_t data = local + 30 + U16(zip, local + 26) + U16(zip, local + 28);
      if (data + csize > zip.size()) break;
      std::string_view raw = zip.substr(data, csize);
      if (method == 0) return std::string(raw);
      if (method == 8) return Inflate(raw, usize, fileName);
      throw FileError(fileName + ": 対応していない圧縮方式です");
    }
  } catch (const std::out_of_range&) {
  }
  throw FileError(fileName + ": ブックに " + std::string(name) + " がありません");
}

std::vector<SheetRow> ReadFirstSheet(std::string_view bytes, const std::string& fileName) {
  std::vector<std::string> shared;
  try {
    std::string sst = ZipEntry(bytes, "xl/sharedStrings.xml", fileName);
    std::string_view x = sst;
    for (size_t p = 0; (p = x.find("<si", p)) != std::string_view::npos;) {
      size_t end = x.find("</si>", p);
      if (end == std::string_view::npos) break;
      shared.push_back(Texts(x.substr(p, end - p)));
      p = end + 5;
    }
  } catch (const FileError&) {
    // A workbook of numbers alone has no shared strings.
  }
  std::string sheet = ZipEntry(bytes, "xl/worksheets/sheet1.xml", fileName);
  std::string_view x = sheet;
  std::vector<SheetRow> rows;
  for (size_t p = 0; (p = x.find("<row", p)) != std::string_view::npos;) {
    size_t tagEnd = x.find('>', p);
    size_t end = x.find("</row>", p);
    if (tagEnd == std::string_view::npos) break;
    SheetRow row;
    row.Number = std::atoi(Attribute(x.substr(p, tagEnd - p), "r").c_str());
    if (x[tagEnd - 1] == '/' || end == std::string_view::npos) {  // an empty row
      p = tagEnd;
      continue;
    }
    std::string_view body = x.substr(tagEnd + 1, end - tagEnd - 1);
    for (size_t c = 0; (c = body.find("<c", c)) != std::string_view::npos;) {
      size_t cTagEnd = body.find('>', c);
      if (cTagEnd == std::string_view::npos) break;
      std::string_view tag = body.substr(c, cTagEnd - c);
      if (tag.size() > 2 && tag[2] != ' ') {  // another element beginning with "c"
        c = cTagEnd;
        continue;
      }
      int col = ColumnOf(Attribute(tag, "r"));
      std::string type = Attribute(tag, "t");
      std::string value;
      size_t cEnd = cTagEnd;
      if (body[cTagEnd - 1] != '/') {
        cEnd = body.find("</c>", cTagEnd);
        if (cEnd == std::string_view::npos) break;
        std::string_view inner = body.substr(cTagEnd + 1, cEnd - cTagEnd - 1);
        if (type == "inlineStr") {
          value = Texts(inner);
        } else {
          size_t v = inner.find("<v>"), ve = inner.find("</v>");
          std::string text = v == std::string_view::npos || ve == std::string_view::npos
                                 ? std::string()
                                 : Unescape(inner.substr(v + 3, ve - v - 3));
          if (type == "s") {
            size_t i = static_cast<size_t>(std::atol(text.c_str()));
            value = i < shared.size() ? shared[i] : std::string();
          } else {
            value = text;
          }
        }
      }
      if (col < 0) col = static_cast<int>(row.Cells.size());
      if (col < 16384) {
        if (row.Cells.size() <= static_cast<size_t>(col)) row.Cells.resize(static_cast<size_t>(col) + 1);
        row.Cells[static_cast<size_t>(col)] = std::move(value);
      }
      c = cEnd;
    }
    rows.push_back(std::move(row));
    p = end + 6;
  }
  return rows;
}

}  // namespace zantro
