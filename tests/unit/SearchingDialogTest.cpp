// The searching dialog's fixed texts and how it closes.
#include <gtest/gtest.h>

#include "config/LangStrings.h"
#include "fakes/ScopedMachine.h"
#include "installer/uSearching.h"

namespace {

struct FakeSearchingView : ISearchingView {
  TString Caption, Search, NotFound, ReSearch, Cancel;
  int Progress = -1;
  int Closes = 0;
  void SetCaption(const TString& t) override { Caption = t; }
  void SetSearchText(const TString& t) override { Search = t; }
  void SetNotFoundText(const TString& t) override { NotFound = t; }
  void SetButtonCaptions(const TString& r, const TString& c) override { ReSearch = r, Cancel = c; }
  void SetProgress(int p) override { Progress = p; }
  void CloseModal() override { ++Closes; }
};

TEST(SearchingDialog, ShowsItsTextsWithTheNotFoundMessageOnThreeLines) {
  ScopedMachine m;
  m.sys.LangID = 0x0804;  // its texts' own language: word for word
  FakeSearchingView view;
  TFormSearching frm(view);
  frm.FormCreate();
  EXPECT_EQ(view.Caption, UiText(TUiText::SearchingTitle, TUiLanguage::SimplifiedChinese));
  EXPECT_EQ(view.Search, u"正在搜索联机信息 ...");
  EXPECT_EQ(view.NotFound,
            u"没有找到联机信息，请重新打开打印机。\r\n如果你不需要使用USB接口进行打印，\r\n"
            u"请直接单击“继续安装”按钮即可。");
  EXPECT_EQ(view.ReSearch, UiText(TUiText::SearchingReSearch, TUiLanguage::SimplifiedChinese));
  EXPECT_EQ(view.Cancel, UiText(TUiText::SearchingContinue, TUiLanguage::SimplifiedChinese));
  EXPECT_EQ(view.Progress, 0);
  EXPECT_EQ(frm.ModalResult(), TSearchingResult::None);
}

TEST(SearchingDialog, EitherButtonClosesOnceAndEveryShowingStartsAfresh) {
  ScopedMachine m;
  FakeSearchingView view;
  TFormSearching frm(view);
  frm.FormCreate();

  frm.FormShow();
  frm.btnCancelSearchClick();
  frm.btnCancelSearchClick();  // Escape pressed again while closing
  EXPECT_EQ(view.Closes, 1);
  EXPECT_EQ(frm.ModalResult(), TSearchingResult::Cancel);

  frm.FormShow();
  EXPECT_EQ(frm.ModalResult(), TSearchingResult::None);
  frm.btnReSearchClick();
  EXPECT_EQ(view.Closes, 2);
  EXPECT_EQ(frm.ModalResult(), TSearchingResult::ReSearch);
  EXPECT_EQ(view.Progress, 0);
}

}  // namespace
