#include "ScreenCapture.h"

#include <wincodec.h>

namespace {

template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

std::wstring HrText(const std::wstring& step, HRESULT hr) {
  wchar_t buf[32];
  wsprintfW(buf, L" failed: 0x%08lX", static_cast<unsigned long>(hr));
  return step + std::wstring(buf);
}

std::wstring Encode(HBITMAP bitmap, const std::wstring& path) {
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return HrText(L"WIC factory", hr);
  ComPtr<IWICBitmap> source;
  if (FAILED(hr = factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &source)))
    return HrText(L"CreateBitmapFromHBITMAP", hr);
  ComPtr<IWICStream> stream;
  if (FAILED(hr = factory->CreateStream(&stream))) return HrText(L"CreateStream", hr);
  if (FAILED(hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) return HrText(L"open " + path, hr);
  ComPtr<IWICBitmapEncoder> encoder;
  if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)))
    return HrText(L"PNG encoder", hr);
  if (FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache))) return HrText(L"encoder", hr);
  ComPtr<IWICBitmapFrameEncode> frame;
  if (FAILED(hr = encoder->CreateNewFrame(&frame, nullptr))) return HrText(L"CreateNewFrame", hr);
  if (FAILED(hr = frame->Initialize(nullptr))) return HrText(L"frame", hr);
  UINT w = 0, h = 0;
  source->GetSize(&w, &h);
  if (FAILED(hr = frame->SetSize(w, h))) return HrText(L"SetSize", hr);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(hr = frame->SetPixelFormat(&format))) return HrText(L"SetPixelFormat", hr);
  if (FAILED(hr = frame->WriteSource(source.p, nullptr))) return HrText(L"WriteSource", hr);
  if (FAILED(hr = frame->Commit())) return HrText(L"frame Commit", hr);
  if (FAILED(hr = encoder->Commit())) return HrText(L"Commit", hr);
  return {};
}

}  // namespace

std::wstring SaveScreenPng(const RECT& area, const std::wstring& path) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return L"empty area";
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BOOL copied = BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  std::wstring error;
  if (!copied) {
    error = L"BitBlt from the screen failed";
  } else {
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    error = Encode(bmp, path);
    if (SUCCEEDED(init)) CoUninitialize();
  }
  DeleteObject(bmp);
  return error;
}

// DS_SCREENSHOT_DIR_WIN when given (the screenshot script points it at
// docs\screenshots); otherwise build\screenshots, so a test run leaves the
// work tree alone.
std::wstring ScreenshotFolder() {
  wchar_t given[MAX_PATH];
  DWORD g = GetEnvironmentVariableW(L"DS_SCREENSHOT_DIR_WIN", given, MAX_PATH);
  if (g > 0 && g < MAX_PATH) {
    CreateDirectoryW(given, nullptr);
    return given;
  }
  wchar_t root[MAX_PATH];
  DWORD n = GetEnvironmentVariableW(L"DS_ROOT_WIN", root, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::wstring dir = std::wstring(root) + L"\\build";
  CreateDirectoryW(dir.c_str(), nullptr);
  dir += L"\\screenshots";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}
