// The one error type raised by the installer's logic. Event handlers catch it
// at the window boundary and show its message in the standard error box.
#pragma once

#include <exception>
#include <string>

#include "sysutil/Text.h"

class Exception : public std::exception {
 public:
  explicit Exception(TString message) : m_Message(std::move(message)), m_Utf8(text::ToUtf8(m_Message)) {}
  const TString& Message() const { return m_Message; }
  const char* what() const noexcept override { return m_Utf8.c_str(); }

 private:
  TString m_Message;
  std::string m_Utf8;
};
