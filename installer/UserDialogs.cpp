#include "installer/UserDialogs.h"

#include "sysutil/Trace.h"

int UnattendedAnswer(TQuestion question) {
  switch (question) {
    case TQuestion::PrinterGone:
      // Offline on the port the printer was on: an answer that ends the install.
    case TQuestion::RestartNow:
      // The deployment tool restarts the machine when it sees the restart needed.
      return mb::IdNo;
    case TQuestion::Connect:
    case TQuestion::RemoveOldDriver:
    case TQuestion::UpdateExisting:
    case TQuestion::Uninstall:
      break;
  }
  return mb::IdYes;
}

int TUserDialogs::Ask(TQuestion question, const TString& text, const TString& caption, std::uint32_t flags) {
  if (!m_Unattended) {
    const int answer = m_View.ShowMessageBox(text, caption, flags);
    trace::Fmt(u"Asked: %s | answer %d", {text, answer});
    return answer;
  }
  const int answer = UnattendedAnswer(question);
  trace::Fmt(u"Asked (answered by policy %d): %s", {answer, text});
  return answer;
}

void TUserDialogs::Tell(const TString& text, const TString& caption, std::uint32_t flags) {
  // Every message reaches the record; with the window the user reads it too.
  const TString line = (m_Unattended ? u"Not shown (no window): " : u"Shown: ") + caption + u": " + text;
  const std::uint32_t icon = flags & 0xF0;
  if (icon == mb::IconError)
    trace::Error(line);
  else if (icon == mb::IconWarning)
    trace::Warn(line);
  else
    trace::Msg(line);
  if (!m_Unattended) m_View.ShowMessageBox(text, caption, flags);
}

void TUserDialogs::Error(const TString& message) {
  // The window's standard error box writes its text to the record itself.
  if (m_Unattended)
    trace::Error(message);
  else
    m_View.ShowErrorBox(message);
}
