// Windows reads what we compile: topics of the shipped Velumbar.chm read
// through the system's own help storage (itss, its ITStorage object), each
// byte for byte equal to the page the build rendered. (The ms-its: protocol
// is left out: under Wine its handler reads the topic, but urlmon's
// stream and download calls lose it and answer INET_E_DATA_NOT_AVAILABLE.)
//
//   help_storage_probe CHM HTML_FOLDER     exit 0 when every check holds
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// clang-format off
#include <objbase.h>
// clang-format on

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/handles.h"
#include "probe_checks.h"

// The help storage's entry object, as the system declares it. Outside the
// anonymous namespace: a class only this file can see, with no definition
// of its methods here, lets the optimiser conclude no call can reach them.
const CLSID kClsidItStorage = {0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidItStorage = {0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

struct IITStorage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR* name, IStorage* priority, DWORD mode,
                                                     SNB exclude, DWORD reserved, IStorage** opened) = 0;
};

namespace {

using probe::expect;
using probe::failures;

using vb::platform::win32::ComPtr;

struct ComApartment {
    HRESULT result = CoInitialize(nullptr);
    ~ComApartment() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
};

std::string readStream(IStream* stream) {
    std::string bytes;
    char block[4096];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(block, sizeof block, &got)) && got > 0) bytes.append(block, got);
    return bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring wide(const std::string& text) {
    std::wstring out(text.size(), L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                     static_cast<int>(out.size()));
    out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return out;
}

void checkStorage(const std::string& chm, const std::string& html) {
    ComPtr<IITStorage> system;
    HRESULT made = CoCreateInstance(kClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, kIidItStorage,
                                    reinterpret_cast<void**>(system.put()));
    if (!expect(SUCCEEDED(made) && system.get(), "no ITStorage object from the system")) return;
    std::wstring name = wide(chm);
    // Wine's help storage does not implement this test (Windows checks the
    // file's signature): skipped there, and only there.
    HRESULT known = system->StgIsStorageFile(name.c_str());
    if (known == E_NOTIMPL)
        std::printf("help_storage_probe: StgIsStorageFile not implemented here; that check is skipped\n");
    else
        expect(known == S_OK, "the help storage does not know the file");
    ComPtr<IStorage> storage;
    HRESULT opened = system->StgOpenStorage(name.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr,
                                            0, storage.put());
    if (!expect(SUCCEEDED(opened) && storage.get(), "the help storage cannot open the file")) return;

    for (const char* topic : {"index.htm", "velumbar_settext.htm", "Velumbar.hhc", "Velumbar.hhk"}) {
        ComPtr<IStream> stream;
        HRESULT found = storage->OpenStream(wide(topic).c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                            stream.put());
        if (!expect(SUCCEEDED(found) && stream.get(), std::string("no stream ") + topic)) continue;
        std::string bytes = readStream(stream.get());
        expect(!bytes.empty() && bytes == readFile(html + "/" + topic),
               std::string(topic) + " read through ITStorage differs from the rendered page");
    }
    // A name that is not in the file is not made up.
    ComPtr<IStream> missing;
    HRESULT absent = storage->OpenStream(L"no_such_topic.htm", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                         missing.put());
    expect(FAILED(absent) && !missing.get(), "a topic that is not there opened");
}

}  // namespace

int main(int argc, char** argv) {
    probe::name = "help_storage_probe";
    if (argc != 3) {
        std::fprintf(stderr, "usage: help_storage_probe CHM HTML_FOLDER\n");
        return 2;
    }
    ComApartment apartment;
    char full[MAX_PATH] = "";
    GetFullPathNameA(argv[1], sizeof full, full, nullptr);
    if (GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "help_storage_probe: no %s (build the help first)\n", full);
        return 2;
    }
    checkStorage(full, argv[2]);
    if (failures == 0) std::printf("help_storage_probe: all checks hold\n");
    return failures == 0 ? 0 : 1;
}
