// Whether a key typed into Chromium or Firefox is a page command: the focused accessible
// object decides, and a tree that fails or does not answer in time never says yes.

#include "browser/page_focus.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "browser/timed_accessible.h"
#include "fake_accessible.h"

namespace paginor::test {
namespace {

using namespace std::chrono_literals;
using msaa::kRoleComboBox;
using msaa::kRoleDocument;
using msaa::kRoleLink;
using msaa::kRoleText;
using msaa::kStateReadOnly;
constexpr long kRoleClient = 0x0A;
constexpr long kRoleToolBar = 0x16;
constexpr long kRoleButton = 0x2B;
constexpr long kRoleGrouping = 0x14;

// A node that answers for the focus as the browsers do.
class FocusNode : public Node {
 public:
  using Node::Node;
  FocusAnswer Focus() override { return answer; }
  FocusAnswer answer;
};

std::shared_ptr<FocusNode> Make(long role, std::uint32_t state = 0) {
  return std::make_shared<FocusNode>(role, "", "", state);
}

void Points(FocusNode& from, const std::shared_ptr<FocusNode>& to) {
  from.answer = {FocusAnswer::Where::Descendant, to};
}

void IsFocused(FocusNode& node) { node.answer = {FocusAnswer::Where::Self, nullptr}; }

// A browser window's tree: toolbar with an address field and a button, and a page
// whose document holds a link and a search box.
struct Window {
  std::shared_ptr<FocusNode> root = Make(kRoleClient);
  std::shared_ptr<FocusNode> toolbar = Make(kRoleToolBar);
  std::shared_ptr<FocusNode> address = Make(kRoleText);
  std::shared_ptr<FocusNode> button = Make(kRoleButton);
  std::shared_ptr<FocusNode> document = Make(kRoleDocument, kStateReadOnly);
  std::shared_ptr<FocusNode> group = Make(kRoleGrouping);
  std::shared_ptr<FocusNode> link = Make(kRoleLink);
  std::shared_ptr<FocusNode> search = Make(kRoleText);

  Window() {
    root->Add(toolbar);
    toolbar->Add(address);
    toolbar->Add(button);
    root->Add(document);
    document->Add(group);
    group->Add(link);
    group->Add(search);
  }
  // Chromium and Firefox name the focused object itself, however deep.
  FocusVerdict FocusOn(const std::shared_ptr<FocusNode>& node) {
    Points(*root, node);
    IsFocused(*node);
    return JudgeFocus(root);
  }
};

TEST(PageFocusTest, WhatTakesTyping) {
  EXPECT_TRUE(TakesTyping(kRoleText, 0));                // a text box, the address bar
  EXPECT_TRUE(TakesTyping(kRoleText, msaa::kStateFocused | 0x20000000));  // a password
  EXPECT_FALSE(TakesTyping(kRoleText, kStateReadOnly));  // text that is only shown
  EXPECT_TRUE(TakesTyping(kRoleComboBox, 0));            // an editable combo box
  EXPECT_TRUE(TakesTyping(kRoleComboBox, kStateReadOnly));  // a list that selects by letter
  EXPECT_FALSE(TakesTyping(kRoleDocument, kStateReadOnly));  // a page being read
  EXPECT_TRUE(TakesTyping(kRoleDocument, 0));             // a document in design mode
  EXPECT_FALSE(TakesTyping(kRoleLink, 0));
  EXPECT_FALSE(TakesTyping(kRoleButton, 0));
}

TEST(PageFocusTest, TheFocusedObjectDecides) {
  Window w;
  EXPECT_EQ(w.FocusOn(w.document), FocusVerdict::Page);
  EXPECT_EQ(w.FocusOn(w.link), FocusVerdict::Page) << "a link under the document is on the page";
  EXPECT_EQ(w.FocusOn(w.search), FocusVerdict::Typing);
  EXPECT_EQ(w.FocusOn(w.address), FocusVerdict::Typing) << "the omnibox shares the window";
  EXPECT_EQ(w.FocusOn(w.button), FocusVerdict::Elsewhere) << "a toolbar button is no page";
}

TEST(PageFocusTest, AnEditorThatOnlyIAccessible2CallsEditableTakesTheKeys) {
  Window w;
  w.group->ia2States = msaa::kIa2StateEditable;  // <div contenteditable> as a grouping
  EXPECT_EQ(w.FocusOn(w.group), FocusVerdict::Typing);
  EXPECT_EQ(w.FocusOn(w.link), FocusVerdict::Typing) << "inside the editor";
  w.group->ia2States = 0u;
  EXPECT_EQ(w.FocusOn(w.link), FocusVerdict::Page);
}

TEST(PageFocusTest, AFocusNamedOneLevelAtATimeIsFollowedDown) {
  Window w;
  Points(*w.root, w.document);
  Points(*w.document, w.group);
  Points(*w.group, w.search);
  IsFocused(*w.search);
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Typing);
  // A named object that says nothing more is the focused one.
  w.search->answer = {FocusAnswer::Where::Nowhere, nullptr};
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Typing);
  Points(*w.group, w.link);
  w.link->answer = {FocusAnswer::Where::Nowhere, nullptr};
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Page);
}

TEST(PageFocusTest, ATreeThatCannotTellIsNeverAPage) {
  Window w;
  EXPECT_EQ(JudgeFocus(nullptr), FocusVerdict::Unknown);
  w.root->answer = {};  // the call failed
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Unknown);
  w.root->answer = {FocusAnswer::Where::Nowhere, nullptr};  // no focus in this window
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Unknown);
  w.root->answer = {FocusAnswer::Where::Descendant, nullptr};
  EXPECT_EQ(JudgeFocus(w.root), FocusVerdict::Unknown);
  // A focus that loops back on itself ends at the depth limit, on an object that is no page.
  Points(*w.root, w.root);
  EXPECT_NE(JudgeFocus(w.root), FocusVerdict::Page);
  w.root->answer = {};  // the loop would keep the tree alive
}

// Objects whose reads fail halfway, as a browser that closes the tab answers.
class BrokenNode : public FocusNode {
 public:
  BrokenNode(long role, bool roleFails, bool stateFails) : FocusNode(role, ""), roleFails_(roleFails), stateFails_(stateFails) {}
  std::optional<long> Role() override { return roleFails_ ? std::nullopt : Node::Role(); }
  std::optional<std::uint32_t> State() override { return stateFails_ ? std::nullopt : Node::State(); }

 private:
  bool roleFails_;
  bool stateFails_;
};

TEST(PageFocusTest, AFailedReadOnTheWayIsNeverAPage) {
  for (const auto& [roleFails, stateFails] : {std::pair{true, false}, std::pair{false, true}}) {
    auto root = Make(kRoleClient);
    auto focused = std::make_shared<BrokenNode>(kRoleLink, roleFails, stateFails);
    root->Add(focused);
    Points(*root, focused);
    IsFocused(*focused);
    EXPECT_EQ(JudgeFocus(root), FocusVerdict::Unknown);
  }
  // The link's document cannot say what it is.
  auto root = Make(kRoleClient);
  auto document = std::make_shared<BrokenNode>(kRoleDocument, true, false);
  root->Add(document);
  auto link = Make(kRoleLink);
  document->Add(link);
  Points(*root, link);
  IsFocused(*link);
  EXPECT_EQ(JudgeFocus(root), FocusVerdict::Unknown);
}

struct RecordingLog : OperationLog {
  std::vector<std::string> lines;
  void Append(std::string_view line) override { lines.emplace_back(line); }
};

// The window's tree, or a browser that holds the caller until released.
class Windows : public AccessibleWindows {
 public:
  AccessiblePtr FromWindow(WindowHandle window) override {
    ++asked;
    lastWindow = window;
    if (hang) released.wait();
    return tree;
  }
  AccessiblePtr tree;
  std::atomic<int> asked{0};
  std::atomic<WindowHandle> lastWindow{0};
  bool hang = false;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
};

struct CheckFixture : ::testing::Test {
  Window w;
  Windows windows;
  RecordingLog log;
  std::chrono::steady_clock::time_point now{};
  int workersMade = 0;
  PageFocusCheck check{windows,
                       [this] {
                         ++workersMade;
                         return std::make_shared<AccessibleWorker>(nullptr, nullptr, 150ms);
                       },
                       log, [this] { return now; }};
  ~CheckFixture() override {
    if (windows.hang) windows.release.set_value();
  }
};

TEST_F(CheckFixture, AKeyIsACommandOnlyWhileThePageHasTheFocus) {
  windows.tree = w.root;
  w.FocusOn(w.link);
  EXPECT_TRUE(check.KeyGoesToPage(42));
  EXPECT_EQ(windows.lastWindow, 42u) << "the focused window's own tree is asked";
  w.FocusOn(w.address);
  EXPECT_FALSE(check.KeyGoesToPage(42));
  w.FocusOn(w.button);
  EXPECT_FALSE(check.KeyGoesToPage(42));
  windows.tree = nullptr;  // no tree for that window
  EXPECT_FALSE(check.KeyGoesToPage(42));
  EXPECT_FALSE(check.KeyGoesToPage(0));
  EXPECT_EQ(workersMade, 1) << "one worker serves every check";
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(CheckFixture, ABrowserThatDoesNotAnswerCostsOneShortWaitAndIsNotAskedForAWhile) {
  windows.tree = w.root;
  w.FocusOn(w.document);
  windows.hang = true;
  const auto begin = std::chrono::steady_clock::now();
  EXPECT_FALSE(check.KeyGoesToPage(7));
  EXPECT_LT(std::chrono::steady_clock::now() - begin, 2s);
  EXPECT_THAT(log.lines, ::testing::ElementsAre(kFocusTimeoutLine));

  // Quiet: refused at once, without asking the browser again.
  now += kFocusCheckQuiet - 1ms;
  EXPECT_FALSE(check.KeyGoesToPage(7));
  EXPECT_EQ(windows.asked, 1);
  EXPECT_EQ(log.lines.size(), 1u);

  // Once the browser answers again, a new worker asks it.
  windows.hang = false;
  windows.release.set_value();
  now += 1ms;
  EXPECT_TRUE(check.KeyGoesToPage(7));
  EXPECT_EQ(workersMade, 2);
}

}  // namespace
}  // namespace paginor::test
