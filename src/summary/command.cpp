#include "summary/command.h"

#include <optional>

#include "general/errors.h"
#include "platform/outputs.h"
#include "summary/workbook.h"

namespace zantro::summary {
namespace {

constexpr const char* kUsage = "zantro: usage: zantro --summary DOCUMENT [--rate N] [--xlsx OUT.xlsx | --pdf OUT.pdf]\n";

struct Request {
  std::string Document;
  std::optional<Money> Rate;
  std::string Format;  // "", "--xlsx" or "--pdf"
  std::string Out;
};

// nullopt after the usage or the refused value on err.
std::optional<Request> ParseArguments(const std::vector<std::string>& args, std::ostream& err) {
  Request r;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool valued = a == "--rate" || a == "--xlsx" || a == "--pdf";
    if (valued && i + 1 == args.size()) {
      r.Document.clear();  // an option without its value
      break;
    }
    if (a == "--rate") {
      try {
        r.Rate = StrToCurr(TypedNumber(args[++i]));
      } catch (const ConversionError& e) {
        err << "zantro: --rate: " << e.what() << "\n";
        return std::nullopt;
      }
    } else if ((a == "--xlsx" || a == "--pdf") && r.Format.empty()) {
      r.Format = a;
      r.Out = args[++i];
    } else if (!valued && r.Document.empty() && !a.empty() && a[0] != '-') {
      r.Document = a;
    } else {
      r.Document.clear();
      break;
    }
  }
  if (r.Document.empty()) {
    err << kUsage;
    return std::nullopt;
  }
  return r;
}

}  // namespace

bool NeedsPrinting(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a == "--pdf") return true;
  return false;
}

int SummaryCommand(const std::vector<std::string>& args, std::ostream& err, const PdfWriter& pdf, std::string* text) {
  std::optional<Request> r = ParseArguments(args, err);
  if (!r) return 2;
  if (r->Format == "--pdf" && !pdf) {
    err << "zantro: --pdf: this build has no printing\n";
    return 2;
  }
  const OutputRules rules{{r->Document}, true};
  std::string error;
  if (OutputPlace place; !r->Format.empty() && !PlaceOutput(r->Out, rules, &place, &error)) {
    err << "zantro: " << error << "\n";
    return 1;
  }
  std::vector<Table> tables;
  std::string construction;
  try {
    tables = SummaryTables(SummarizeFile(r->Document, r->Rate, &construction));
  } catch (const std::exception& e) {
    err << "zantro: " << e.what() << "\n";
    return 2;
  }
  if (r->Format == "--pdf") return pdf(tables, construction, r->Out, rules, err);
  if (r->Format == "--xlsx") {
    try {
      WriteTablesWorkbook(tables, r->Out, rules);
    } catch (const std::exception& e) {
      err << "zantro: " << e.what() << "\n";
      return 1;
    }
    return 0;
  }
  // The text is made whole, then written: a write that fails is reported with its reason.
  if (text) {
    *text = TablesText(tables);
    return 0;
  }
  if (WriteOutput("-", TablesText(tables), &error, {{}, true})) return 0;
  err << "zantro: " << error << "\n";
  return 1;
}

}  // namespace zantro::summary
