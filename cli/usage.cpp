#include "cli/usage.h"

namespace paginor::cli {

const std::string_view kUsage =
    R"(paginor-cli: the page-turn engine of Paginor on pages stored as files.

Usage:
  paginor-cli calc FORMULA...
  paginor-cli turn COMMAND PAGE [options]
  paginor-cli links PAGE [--url ADDRESS]
  paginor-cli explain COMMAND PAGE [options] [--all] [--json]
  paginor-cli --help

calc FORMULA...
  Evaluates each formula as the computed part "计算[...]" of a URL template does and
  prints one result line per formula. A formula without a result prints
  "FORMULA: ERROR TEXT" on stderr instead; the others are still evaluated.

turn COMMAND PAGE
  Runs one page-turn command on a page as the program does in the browser.
  COMMAND  prev, next, first, last, back, forward, or a page number of 1 to 5 digits.
  PAGE     an HTML file in UTF-8, or with --site an address listed in the site map.
  The page is shown in an "ie" tab whose window (0x1000) has its client area at the
  screen origin; links are never fetched.

  --url ADDRESS        the address the page has in the browser
                       (default: the site map's address for the file, else file://...)
  --rules FILE         a definition file (.pgt: GBK, UTF-8, or UTF-16 with a BOM): the
                       active sets
  --xy FILE            fixed-position command lines, "动作,x,y,网址模式" (as xy.txt)
  --disable FILE       a disable list (as disable1.txt) for commands of the origin
  --origin keyboard|mouse
                       where the command comes from (default keyboard)
  --site DIR           DIR/site.map lists the site's pages, one "ADDRESS FILE" per line
                       (FILE inside DIR; blank lines and "#" comments are ignored)
  --follow N           with --site: run the command N times in all, each time on the
                       page the previous run led to (default 1)
  --tree DIR           show each page FILE.html as the accessibility tree DIR/FILE.tsv that
                       a browser served for it, in a Chrome/Edge/Firefox tab (browser
                       choice 6): links clicked through their default action, addresses
                       typed, history keys ("back: Alt+Left")
  --smart              when nothing else finds the page, try the smart fallback: rel
                       links, page words and arrows in many languages, the page number
                       in the address (prev, next, first, last and page numbers)

Output of turn
  The operation-log lines exactly as the program writes them, then the outcome:
    clicked: ADDRESS TEXT    a link was clicked (TEXT: its text, on one line)
    navigated: ADDRESS       the browser was sent to the address
    clicked position: X,Y    a click was posted at X,Y of the tab's window
    back: ADDRESS            history went back ("back: no earlier page" if none)
    forward: ADDRESS         history went forward ("forward: no later page" if none)
    nothing                  the command did nothing
  With --site every run begins with "run N: ADDRESS". A walk that cannot go on ends
  with "walk ends: REASON" (no page to go to, or an address not in the site map).

links PAGE [--url ADDRESS]
  Prints the page's links in document order as a table, as a browser answers for each:
  a line "#url<TAB>ADDRESS", then per link its text, outer HTML, href, parent text and
  parent outer HTML, tab-separated, with \\ \t \n \r escaped ("\-" for no parent).
  The Windows test browser serves these tables.

explain COMMAND PAGE
  Runs the same command on the same page with the options of turn (but --follow)
  without carrying it out, and prints each stage tried and what it saw: the links
  with their candidate text, address and keyword verdict, each rule line of the set
  with its verdict, the URL templates with their expansion or why they failed, the
  fixed-position lines, the smart fallback's candidates and scores, the operation-log
  lines, and the action the command would take. Links that matched nothing are only
  counted.
  --all                list every link examined
  --json               print the same as one JSON document

Exit status
  0  the formulas gave results / the command ran, whatever it did
  1  some formula gave no result
  2  bad arguments, or a file that cannot be found, read or loaded
)";

}  // namespace paginor::cli
