#include "handles.h"
#include "options_services.h"
#include "text.h"

#include <knownfolders.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace dv::win32 {

namespace {

void coTaskMemFree(PWSTR p) { ::CoTaskMemFree(p); }
using UniqueTaskString = Unique<PWSTR, coTaskMemFree>;

Outcome failed(HRESULT hr) { return Outcome::failure(systemMessage(static_cast<unsigned long>(hr))); }

}  // namespace

Outcome DesktopShortcutMaker::createOnDesktop(const ShortcutRequest& request) {
    PWSTR raw = nullptr;
    HRESULT hr = ::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &raw);
    const UniqueTaskString desktop(raw);
    if (FAILED(hr)) return failed(hr);
    const std::wstring file = std::wstring(desktop.get()) + L"\\" + widen(request.name) + L".lnk";

    ComPtr<IShellLinkW> link;
    hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                            reinterpret_cast<void**>(link.put()));
    if (FAILED(hr)) return failed(hr);
    if (FAILED(hr = link->SetPath(widen(request.target).c_str()))) return failed(hr);
    if (FAILED(hr = link->SetArguments(widen(request.arguments).c_str()))) return failed(hr);
    if (FAILED(hr = link->SetWorkingDirectory(widen(request.workingFolder).c_str()))) return failed(hr);
    if (FAILED(hr = link->SetIconLocation(widen(request.icon).c_str(), 0))) return failed(hr);

    ComPtr<IPersistFile> persist;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()));
    if (FAILED(hr)) return failed(hr);
    // Saving over an existing shortcut of the same name replaces it.
    if (FAILED(hr = persist->Save(file.c_str(), TRUE))) return failed(hr);
    return Outcome::success();
}

}  // namespace dv::win32
