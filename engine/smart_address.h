#pragma once
// The smart fallback's last resort: the page number the address itself carries
// ("page=3", "start=40", "/page/3/", "-3.html", "_3.html", "index_3.html"), counted up or
// down or set, as a person edits the address bar.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paginor {

struct AddressPage {
  enum class Style { Query, Offset, PathPage, Dash, Underscore, Index };
  Style style = Style::Query;
  std::size_t pos = 0;  // of the digits in the address
  std::size_t len = 0;
  long value = 0;
  std::string name;  // "page=", "start=", "/page/N/", "-N.html", ...
};

// The first page number the address holds: query parameters before the path's forms.
std::optional<AddressPage> FindAddressPage(std::string_view url);

struct AddressTurn {
  std::string address;  // empty: the address cannot give the page
  std::string reason;   // how it was built, or why not
};

// The address of the page the command asks for. links: the addresses of the page's
// links, where the step of "start=" and whether the first page carries a number are
// seen.
AddressTurn TurnAddress(std::string_view url, std::string_view command,
                        const std::vector<std::string>& links);

// How far the page of another address of the same list lies from the current page: the
// same host, path and parameters apart from the page's own number or offset. links: the
// page links, where the step of an offset is seen.
class AddressSteps {
 public:
  AddressSteps(std::string_view url, const std::vector<std::string>& links);
  // Pages on (negative: back); nullopt when href is no address of the same list or lies
  // between two pages of an offset.
  std::optional<long> To(std::string_view href) const;
  // The current page's number as the address tells it: 1 for an address without one.
  std::optional<long> CurrentPage() const;

 private:
  std::string url_;
  std::optional<AddressPage> page_;
  long step_ = 1;
  long first_ = 1;
};

}  // namespace paginor
