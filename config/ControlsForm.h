// What the strings file's captions need of a form (TLangOptions::
// LoadControlsCaption): its caption and its components in component order,
// each with its name and kind. The main window's view is such a form.
#pragma once

#include "base/Types.h"

enum class TControlKind { Button, Label, Edit, GroupBox, OtherControl, NonVisual };

class IControlsForm {
 public:
  virtual ~IControlsForm() = default;
  virtual void SetFormCaption(const TString& caption) = 0;
  virtual int ComponentCount() const = 0;
  virtual TString ComponentName(int index) const = 0;
  virtual TControlKind ComponentKind(int index) const = 0;
  virtual void SetComponentCaption(int index, const TString& text) = 0;
  virtual void SetComponentHint(int index, const TString& text) = 0;
};
