// Frame lists and the frame a command acts on, and the IE version that picks the walk.

#include <gtest/gtest.h>

#include "browser/discovery.h"
#include "browser/ie_version.h"
#include "fake_windows.h"

namespace paginor::test {
namespace {

TEST(Frames, ListedInEmbeddingOrderWithAQuestionMarkForPlugIns) {
  FakeFrames frames;
  frames.embeddings = {std::make_shared<TabBrowser>("http://a/frame1.html"),
                       std::make_shared<TabBrowser>("http://a/frame2.html"), nullptr};
  const BrowserPtr tab = std::make_shared<TabBrowser>("http://a/");
  EXPECT_EQ(FrameListEntries(frames, tab),
            (std::vector<std::string>{"1    http://a/frame1.html", "2    http://a/frame2.html", "?"}));

  FakeWindows windows;
  WindowDiscovery discovery(windows, frames, "8");
  EXPECT_EQ(UrlOf(discovery.GetFrameBrowser(1, tab)), "http://a/frame2.html");
  EXPECT_EQ(discovery.GetFrameBrowser(2, tab), nullptr);
  EXPECT_EQ(discovery.GetFrameBrowser(3, tab), nullptr);
  EXPECT_EQ(discovery.GetFrameBrowser(-1, tab), nullptr);
  EXPECT_EQ(discovery.GetFrameBrowser(0, nullptr), nullptr);
}

TEST(Frames, AtMostAHundredAndNoneWithoutABrowser) {
  FakeFrames frames;
  for (int i = 0; i < 130; ++i) frames.embeddings.push_back(std::make_shared<TabBrowser>("f"));
  const BrowserPtr tab = std::make_shared<TabBrowser>("t");
  EXPECT_EQ(GetFrameCount(frames, tab), 100);
  EXPECT_EQ(FrameListEntries(frames, tab).size(), 100u);
  EXPECT_EQ(frames.limits.front(), 100);
  EXPECT_EQ(GetFrameCount(frames, nullptr), 0);
  EXPECT_TRUE(FrameListEntries(frames, nullptr).empty());
}

TEST(IEVersion, MajorVersionFromTheRegistryText) {
  EXPECT_EQ(IEVersionFromRegistry(true, "6.0.2900.5512"), "6");
  EXPECT_EQ(IEVersionFromRegistry(true, "8.0.6001.18702"), "8");
  EXPECT_EQ(IEVersionFromRegistry(true, "10"), "10");
  EXPECT_EQ(IEVersionFromRegistry(true, "abc"), "7");
  EXPECT_EQ(IEVersionFromRegistry(true, ""), "7");
  EXPECT_EQ(IEVersionFromRegistry(true, std::nullopt), "7");
  EXPECT_EQ(IEVersionFromRegistry(true, ".5"), "7");
  EXPECT_EQ(IEVersionFromRegistry(false, "9.0"), "6");
  EXPECT_EQ(IEVersionFromRegistry(true, "11.0.9600.18123", "9.11.9600.18123"), "11");
  EXPECT_EQ(IEVersionFromRegistry(true, "", "9.0.8112.16421"), "9");
  EXPECT_EQ(IEVersionFromRegistry(true, std::nullopt, "8.0"), "8");
  EXPECT_EQ(IEMajor("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(IEMajor("11"), 11);
}

}  // namespace
}  // namespace paginor::test
