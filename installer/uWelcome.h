// The welcome splash (TfrmWelcome): a borderless picture strip with the
// brand's title and a growing "Loading" text that closes itself after its
// sixth timer tick. The window itself is drawn by a view; this class holds its
// behaviour.
#pragma once

#include <cstdint>

#include "sysutil/Text.h"

// What the splash's behaviour needs of its window.
class IWelcomeView {
 public:
  virtual ~IWelcomeView() = default;
  // Makes picture `index` visible: 0 = img1 ... 4 = img5, left to right.
  virtual void ShowPicture(int index) = 0;
  virtual void SetTitle(const TString& text) = 0;
  virtual void SetTitleColor(std::uint32_t color) = 0;  // 0x00BBGGRR
  virtual void SetLoadingText(const TString& text) = 0;
  // (Re)starts tmrShow so that its next tick comes `ms` after this call.
  virtual void SetTimerInterval(std::uint32_t ms) = 0;
  virtual void StopTimer() = 0;
  // Ends the splash's modal showing.
  virtual void Close() = 0;
};

class TfrmWelcome {
 public:
  static constexpr int kPictureCount = 5;
  static constexpr std::uint32_t kFirstTickMs = 200;  // tmrShow's design interval
  static constexpr int kDefaultInterval = 900;
  static constexpr int kFastInterval = 50;

  explicit TfrmWelcome(IWelcomeView& view) : m_View(view) {}

  void FormCreate();
  void tmrShowTimer();
  void img1DblClick();
  // The main window colours the title with its branding colour after creation.
  void SetTitleColor(std::uint32_t color) { m_View.SetTitleColor(color); }

  int m_iTimes = 0;     // timer ticks so far
  int m_iInteve = 900;  // interval after the first tick, in milliseconds

 private:
  IWelcomeView& m_View;
};
