// Another program for the drop tests, as a file manager would be: drops
// files through OLE on whatever window lies under a screen point, or just
// runs until it is ended (a program some other one watches for).
//   tm_drop_source drop <x> <y> <file>...   exit code 0: dropped and taken
//   tm_drop_source wait
#include "platform/win32/WindowsApi.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// One CF_HDROP in global memory: the DROPFILES header, then the paths,
// each ended by a zero, and one more zero.
HGLOBAL dropFilesOf(const std::vector<std::wstring>& paths) {
    std::size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    if (!memory) return nullptr;
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& p : paths) {
        p.copy(text, p.size());
        text += p.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

bool isFileDrop(const FORMATETC* format) {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) &&
           format->dwAspect == DVASPECT_CONTENT;
}

class FileData final : public IDataObject {
public:
    explicit FileData(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }   // lives on main's stack
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!isFileDrop(format)) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = dropFilesOf(paths_);
        medium->pUnkForRelease = nullptr;
        return medium->hGlobal ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return isFileDrop(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return ::SHCreateStdEnumFmtEtc(1, &format, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::wstring> paths_;
    ULONG references_ = 1;
};

// A mouse that has come to rest over the target: the button goes up after
// a few looks, whatever the real button does.
class SettledMouse final : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource) ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return ++looks_ < 4 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ULONG references_ = 1;
    int looks_ = 0;
};

} // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 2;
    if (std::wstring(argv[1]) == L"wait") {
        ::Sleep(INFINITE);
        return 0;
    }
    if (std::wstring(argv[1]) != L"drop" || argc < 5) return 2;
    if (FAILED(::OleInitialize(nullptr))) return 3;
    ::SetCursorPos(_wtoi(argv[2]), _wtoi(argv[3]));
    FileData data(std::vector<std::wstring>(argv + 4, argv + argc));
    SettledMouse mouse;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result = ::DoDragDrop(&data, &mouse, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
    std::printf("DoDragDrop 0x%08lx effect %lu\n", static_cast<unsigned long>(result), effect);
    ::OleUninitialize();
    return result == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY ? 0 : 1;
}
