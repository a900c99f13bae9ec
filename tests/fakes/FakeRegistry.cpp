#include "fakes/FakeRegistry.h"

#include "sysutil/Text.h"

namespace {

// "\A\\b\" -> "A\b": no leading, trailing or doubled separators.
TString Clean(const TString& path) {
  TString out;
  for (char16_t c : path) {
    if (c == u'\\' && (out.empty() || out.back() == u'\\')) continue;
    out += c;
  }
  if (!out.empty() && out.back() == u'\\') out.pop_back();
  return out;
}
TString Fold(const TString& path) { return text::UpperAscii(Clean(path)); }
bool Below(const TString& folded, const TString& parentFolded) {
  return folded.size() > parentFolded.size() && folded.starts_with(parentFolded) &&
         folded[parentFolded.size()] == u'\\';
}

}  // namespace

TString FakeRegistry::Redirect(const TString& path, TRegView view) const {
  TString p = Clean(path);
  bool view32 = view == TRegView::Key32 || (view == TRegView::Default && Wow64Process);
  TString f = text::UpperAscii(p);
  if (!view32 || !(f == u"SOFTWARE" || f.starts_with(u"SOFTWARE\\"))) return p;
  if (f == u"SOFTWARE\\WOW6432NODE" || f.starts_with(u"SOFTWARE\\WOW6432NODE\\")) return p;
  return u"SOFTWARE\\Wow6432Node" + p.substr(8);
}

FakeRegistry::Key& FakeRegistry::Make(const TString& path) {
  TString p = Clean(path);
  for (size_t i = 0; i <= p.size(); ++i)
    if (i == p.size() || p[i] == u'\\') {
      TString part = p.substr(0, i);
      auto& k = m_Keys[text::UpperAscii(part)];
      if (k.Path.empty()) k.Path = part;
    }
  return m_Keys[Fold(p)];
}

FakeRegistry::Key* FakeRegistry::KeyOf(THandle h) {
  auto it = m_Handles.find(h);
  if (it == m_Handles.end()) return nullptr;
  auto k = m_Keys.find(it->second);
  return k == m_Keys.end() ? nullptr : &k->second;
}

void FakeRegistry::SetText(const TString& keyPath, const TString& name, const TString& value) {
  Make(keyPath).Values[text::UpperAscii(name)] = TRegValue{name, kRegSz, value, 0};
}
void FakeRegistry::SetNumber(const TString& keyPath, const TString& name, std::uint32_t value) {
  Make(keyPath).Values[text::UpperAscii(name)] = TRegValue{name, kRegDword, {}, value};
}
bool FakeRegistry::KeyExists(const TString& keyPath) const { return m_Keys.count(Fold(keyPath)) > 0; }
const TRegValue* FakeRegistry::Value(const TString& keyPath, const TString& name) const {
  auto k = m_Keys.find(Fold(keyPath));
  if (k == m_Keys.end()) return nullptr;
  auto v = k->second.Values.find(text::UpperAscii(name));
  return v == k->second.Values.end() ? nullptr : &v->second;
}
std::vector<TRegValue> FakeRegistry::Values(const TString& keyPath) const {
  std::vector<TRegValue> out;
  auto k = m_Keys.find(Fold(keyPath));
  if (k != m_Keys.end())
    for (const auto& [_, v] : k->second.Values) out.push_back(v);
  return out;
}

bool FakeRegistry::OpenKey(const TString& path, bool, TRegView view, THandle& key) {
  TString f = Fold(Redirect(path, view));
  if (!m_Keys.count(f)) return false;
  key = m_Next++;
  m_Handles[key] = f;
  return true;
}
bool FakeRegistry::CreateKey(const TString& path, TRegView view, THandle& key) {
  const TString real = Redirect(path, view);
  if (!KeyExists(real))
    for (const TString& refused : Uncreatable)
      if (Fold(refused) == Fold(real)) return false;
  Make(real);
  return OpenKey(path, true, view, key);
}
void FakeRegistry::CloseKey(THandle key) { m_Handles.erase(key); }

bool FakeRegistry::ReadNumber(THandle key, const TString& name, std::uint32_t& value) {
  Key* k = KeyOf(key);
  auto v = k ? k->Values.find(text::UpperAscii(name)) : decltype(k->Values.end()){};
  if (!k || v == k->Values.end() || v->second.Type != kRegDword) return false;
  value = v->second.Number;
  return true;
}
bool FakeRegistry::ReadText(THandle key, const TString& name, TString& value) {
  Key* k = KeyOf(key);
  auto v = k ? k->Values.find(text::UpperAscii(name)) : decltype(k->Values.end()){};
  if (!k || v == k->Values.end() || (v->second.Type != kRegSz && v->second.Type != kRegExpandSz)) return false;
  value = v->second.Text;
  return true;
}
bool FakeRegistry::ListSubKeys(THandle key, std::vector<TString>& names) {
  names.clear();
  auto it = m_Handles.find(key);
  if (it == m_Handles.end() || !m_Keys.count(it->second)) return false;
  for (const auto& [f, k] : m_Keys)
    if (Below(f, it->second) && f.find(u'\\', it->second.size() + 1) == TString::npos)
      names.push_back(k.Path.substr(k.Path.rfind(u'\\') + 1));
  return true;
}
bool FakeRegistry::ListValues(THandle key, std::vector<TRegValue>& values) {
  Key* k = KeyOf(key);
  if (!k) return false;
  values.clear();
  for (const auto& [_, v] : k->Values) values.push_back(v);
  return true;
}
bool FakeRegistry::WriteText(THandle key, const TString& name, const TString& value) {
  Key* k = KeyOf(key);
  if (!k) return false;
  k->Values[text::UpperAscii(name)] = TRegValue{name, kRegSz, value, 0};
  return true;
}
bool FakeRegistry::DeleteValue(THandle key, const TString& name) {
  Key* k = KeyOf(key);
  return k && k->Values.erase(text::UpperAscii(name)) > 0;
}
bool FakeRegistry::DeleteTree(THandle key, const TString& name) {
  auto it = m_Handles.find(key);
  if (it == m_Handles.end() || Clean(name).empty()) return false;
  TString target = it->second + u"\\" + Fold(name);
  if (!m_Keys.count(target)) return false;
  for (const TString& p : Protected)
    if (Fold(p) == target || Below(Fold(p), target)) return false;
  std::erase_if(m_Keys, [&](const auto& e) { return e.first == target || Below(e.first, target); });
  return true;
}
