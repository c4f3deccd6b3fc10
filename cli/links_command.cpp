#include "cli/links_command.h"

#include <filesystem>

#include "browser/link_table.h"
#include "cli/page_files.h"
#include "engine/text_file.h"

namespace paginor::cli {

int RunLinks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string page;
  std::string address;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--url" && i + 1 < args.size()) {
      address = args[++i];
    } else if (page.empty() && args[i].rfind("--", 0) != 0) {
      page = args[i];
    } else {
      err << "paginor-cli links: unexpected argument " << args[i] << " (see paginor-cli --help)\n";
      return 2;
    }
  }
  if (page.empty()) {
    err << "paginor-cli links: give a PAGE (see paginor-cli --help)\n";
    return 2;
  }
  const std::filesystem::path file = PathFromUtf8(page);
  if (address.empty()) address = FileAddress(file);
  HtmlBrowser tab;
  const std::string error = OpenPageFile(tab, address, file);
  if (!error.empty()) {
    err << "paginor-cli links: " << error << '\n';
    return 2;
  }
  const std::unique_ptr<Document> document = tab.GetDocument();
  if (!document) {
    err << "paginor-cli links: " << page << " shows no document\n";
    return 2;
  }
  out << FormatLinkTable(ReadLinkTable(*document));
  return 0;
}

}  // namespace paginor::cli
