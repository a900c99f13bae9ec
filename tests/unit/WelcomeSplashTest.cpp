// The welcome splash's behaviour against a recording view whose timer runs on
// a fake clock with the Win32 timer's rule: setting an interval restarts the
// countdown from that moment.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "config/LangStrings.h"
#include "fakes/ScopedMachine.h"
#include "installer/uWelcome.h"

namespace {

class FakeWelcomeView : public IWelcomeView {
 public:
  struct Tick {
    std::uint64_t At;
    TString Loading;
    std::vector<int> Pictures;  // visible after the tick, in the order shown
  };

  std::uint64_t Now = 0;
  std::optional<std::uint64_t> Due;
  std::vector<int> Pictures;
  TString Title, Loading;
  std::uint32_t TitleColor = 0;
  std::optional<std::uint64_t> ClosedAt;

  void ShowPicture(int index) override { Pictures.push_back(index); }
  void SetTitle(const TString& t) override { Title = t; }
  void SetTitleColor(std::uint32_t c) override { TitleColor = c; }
  void SetLoadingText(const TString& t) override { Loading = t; }
  void SetTimerInterval(std::uint32_t ms) override { Due = Now + ms; }
  void StopTimer() override { Due.reset(); }
  void Close() override { ClosedAt = Now; }

  // Lets the timer fire until the splash closes (or 10 s pass). `action` runs
  // once when the clock reaches `actionAt`, after a tick due at that moment.
  std::vector<Tick> Run(TfrmWelcome& frm, std::uint64_t actionAt = 0, std::function<void()> action = {}) {
    std::vector<Tick> ticks;
    while (!ClosedAt && Due && Now < 10000) {
      if (action && actionAt < *Due) {
        Now = actionAt;
        std::exchange(action, nullptr)();
        continue;
      }
      Now = *Due;
      frm.tmrShowTimer();
      if (!ClosedAt) ticks.push_back({Now, Loading, Pictures});
    }
    return ticks;
  }
};

class WelcomeSplash : public ::testing::Test {
 protected:
  void LoadStrings(const char* ini) {
    m.fs.AddFile(u"C:\\Temp\\Strings.ini", Utf16File(text::FromUtf8(ini)));
    g_LangOptions.LoadFromFile(u"C:\\Temp\\Strings.ini");
  }
  ScopedMachine m;
  FakeWelcomeView view;
  TfrmWelcome frm{view};
};

constexpr const char* kMakerStrings =
    "[Settings]\nOEMCOmpanyIndex=1\n"
    "[OEMCOmpany]\nName.1=Tessaron\nMainTitle.1=Welcome to use Tessaron printers\n"
    "Name.2=Other\nMainTitle.2=Other title\n"
    "[DialogText]\nLoading=Loading\n";

TEST_F(WelcomeSplash, CreationShowsFirstPictureBrandTitleAndLoadingText) {
  LoadStrings(kMakerStrings);
  frm.FormCreate();
  frm.SetTitleColor(0x800080);

  EXPECT_EQ(view.Title, u"Welcome to use Tessaron printers");
  EXPECT_EQ(view.TitleColor, 0x800080u);
  EXPECT_EQ(view.Loading, u"Loading");
  EXPECT_EQ(view.Pictures, std::vector<int>{0});
  EXPECT_EQ(view.Due, std::optional<std::uint64_t>(200));
  EXPECT_EQ(frm.m_iTimes, 0);
  EXPECT_EQ(frm.m_iInteve, 900);
}

TEST_F(WelcomeSplash, TitleComesFromTheSelectedRowAndIsEmptyWithoutOne) {
  LoadStrings("[Settings]\nOEMCOmpanyIndex=2\n[OEMCOmpany]\nMainTitle.1=Maker\nMainTitle.2=Other title\n");
  frm.FormCreate();
  EXPECT_EQ(view.Title, u"Other title");

  TearDown();
  LoadStrings("[Settings]\nOEMCOmpanyIndex=7\n[OEMCOmpany]\nMainTitle.1=Maker\n[DialogText]\nLoading=正在加载\n");
  frm.FormCreate();
  EXPECT_EQ(view.Title, u"");
  EXPECT_EQ(view.Loading, u"正在加载");
}

TEST_F(WelcomeSplash, TicksShowPicturesLeftToRightAndCloseAfter4700ms) {
  LoadStrings(kMakerStrings);
  frm.FormCreate();
  auto ticks = view.Run(frm);

  ASSERT_EQ(ticks.size(), 5u);
  const std::uint64_t at[] = {200, 1100, 2000, 2900, 3800};
  const char16_t* loading[] = {u"Loading .", u"Loading ..", u"Loading ...", u"Loading ....", u"Loading ....."};
  for (size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_EQ(ticks[i].At, at[i]) << i;
    EXPECT_EQ(ticks[i].Loading, loading[i]) << i;
  }
  EXPECT_EQ(ticks[0].Pictures, std::vector<int>{0});  // the first tick shows no new picture
  EXPECT_EQ(ticks[4].Pictures, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(view.ClosedAt, std::optional<std::uint64_t>(4700));
  EXPECT_FALSE(view.Due) << "the timer is stopped when the splash closes";
  EXPECT_EQ(frm.m_iTimes, 0);
}

TEST_F(WelcomeSplash, DoubleClickSpeedsTheRemainingTicksTo50ms) {
  LoadStrings(kMakerStrings);

  // Right after the first tick: the remaining five come every 50 ms.
  frm.FormCreate();
  auto ticks = view.Run(frm, 200, [&] { frm.img1DblClick(); });
  EXPECT_EQ(frm.m_iInteve, 50);
  ASSERT_EQ(ticks.size(), 5u);
  EXPECT_EQ(ticks[4].Loading, u"Loading .....");
  EXPECT_EQ(ticks[4].Pictures, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(view.ClosedAt, std::optional<std::uint64_t>(200 + 5 * 50));

  // Before the first tick: the pending 200 ms tick is replaced too.
  FakeWelcomeView early;
  TfrmWelcome frm2(early);
  frm2.FormCreate();
  early.Run(frm2, 10, [&] { frm2.img1DblClick(); });
  EXPECT_EQ(early.ClosedAt, std::optional<std::uint64_t>(10 + 6 * 50));

  // Halfway: the click restarts the countdown at 50 ms from the click.
  FakeWelcomeView later;
  TfrmWelcome frm3(later);
  frm3.FormCreate();
  auto lateTicks = later.Run(frm3, 1500, [&] { frm3.img1DblClick(); });
  ASSERT_EQ(lateTicks.size(), 5u);
  EXPECT_EQ(lateTicks[2].At, 1550u);
  EXPECT_EQ(later.ClosedAt, std::optional<std::uint64_t>(1500 + 4 * 50));
}

}  // namespace
