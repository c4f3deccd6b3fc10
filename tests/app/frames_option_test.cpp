#include "app/frames_option.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/fakes.h"

namespace paginor::app {
namespace {

using ::testing::ElementsAre;
using testing::FakeControls;

class FakeFrames : public FrameSource {
 public:
  bool found = true;
  int count = 0;
  std::vector<std::optional<std::string>> frames;
  std::vector<std::string> askedKinds;

  bool FindBrowserWindow(std::string_view kind) override {
    askedKinds.emplace_back(kind);
    return found;
  }
  int GetFrameCount() override { return count; }
  std::optional<std::string> FrameLocation(int index) override {
    if (index < static_cast<int>(frames.size())) return frames[static_cast<std::size_t>(index)];
    return "http://f.example/" + std::to_string(index);
  }
};

void Tick(FakeControls& c, FakeFrames& frames, bool on) {
  c.SetChecked(Control::chkframe, on);
  chkframeClick(c, frames);
}

TEST(FramesOption, TickingListsEveryEmbeddingInOrderWithPluginsAsQuestionMarks) {
  FakeControls c;
  c.SetItemIndex(Control::rgpIE, 1);
  FakeFrames frames;
  frames.count = 3;
  frames.frames = {"http://a.example/top.html", "http://a.example/list.html", std::nullopt};
  Tick(c, frames, true);

  EXPECT_THAT(frames.askedKinds, ElementsAre("360"));
  EXPECT_THAT(c.state[Control::cbframe].items,
              ElementsAre("1    http://a.example/top.html", "2    http://a.example/list.html", "?"));
  EXPECT_TRUE(c.Enabled(Control::cbframe));
  EXPECT_EQ(c.ItemIndex(Control::cbframe), 0);

  // Unticking disables the list and keeps its entries; ticking again rebuilds it.
  c.SetItemIndex(Control::cbframe, 2);
  Tick(c, frames, false);
  EXPECT_FALSE(c.Enabled(Control::cbframe));
  EXPECT_EQ(c.state[Control::cbframe].items.size(), 3u);
  frames.count = 1;
  Tick(c, frames, true);
  EXPECT_THAT(c.state[Control::cbframe].items, ElementsAre("1    http://a.example/top.html"));
  EXPECT_EQ(c.ItemIndex(Control::cbframe), 0);
}

TEST(FramesOption, NoBrowserOrNoFramesLeavesAnEmptyDisabledList) {
  FakeControls c;
  c.AddItem(Control::cbframe, "1    http://old.example/");
  FakeFrames frames;
  frames.found = false;
  frames.count = 2;
  Tick(c, frames, true);
  EXPECT_TRUE(c.state[Control::cbframe].items.empty());
  EXPECT_FALSE(c.Enabled(Control::cbframe));
  EXPECT_EQ(c.ItemIndex(Control::cbframe), -1);

  frames.found = true;
  frames.count = 0;
  Tick(c, frames, true);
  EXPECT_TRUE(c.state[Control::cbframe].items.empty());
  EXPECT_FALSE(c.Enabled(Control::cbframe));
}

TEST(FramesOption, AtMostAHundredFramesAreListed) {
  FakeControls c;
  FakeFrames frames;
  frames.count = 250;
  Tick(c, frames, true);
  ASSERT_EQ(c.state[Control::cbframe].items.size(), 100u);
  EXPECT_EQ(c.state[Control::cbframe].items.back(), "100    http://f.example/99");

  frames.count = -3;  // a document that answers nonsense
  Tick(c, frames, true);
  EXPECT_TRUE(c.state[Control::cbframe].items.empty());
}

}  // namespace
}  // namespace paginor::app
