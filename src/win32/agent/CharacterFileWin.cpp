#include "win32/agent/CharacterFileWin.h"

#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include "core/agent/AgentApi.h"
#include "core/character/Excerpt.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace win32::agent {
namespace {

using ::agent::character::DocumentFault;
using ::agent::character::kMaxFileBytes;
using ::agent::character::kReadPieceBytes;

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw ::agent::AgentError(::agent::character::characterFileMessage(path, what));
}

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message =
        n > 0 && text != nullptr ? std::wstring(text, n) : L"error " + std::to_wstring(code);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L'.' || message.back() == L' '))
        message.pop_back();
    return ::agent::character::readableExcerpt(utf8(message), 120);
}

std::string readBounded(const std::string& path) {
    const std::wstring name = wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            fail(path, "the file does not exist");
        fail(path, "it cannot be read (" + systemMessage(error) + ")");
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) fail(path, "it is a folder, not a file");
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail(path, "it cannot be read (" + systemMessage(GetLastError()) + ")");
    const std::string tooLarge =
        "it is larger than " + std::to_string(kMaxFileBytes / (1024 * 1024)) + " MiB";
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > kMaxFileBytes) {
        CloseHandle(file);
        fail(path, tooLarge);
    }
    // The size may have been wrong (a growing file): read on to the end, never past the limit. The first
    // piece is the size the file gives: zeroing a buffer as large as the limit costs more than the read.
    const std::size_t limit = static_cast<std::size_t>(kMaxFileBytes);
    std::string bytes;
    std::size_t ask = static_cast<std::size_t>(size.QuadPart) + 1;
    std::size_t got = 0;
    for (;;) {
        bytes.resize(got + std::min(ask, limit + 1 - got));
        DWORD n = 0;
        if (!ReadFile(file, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(file);
            fail(path, "it cannot be read (" + systemMessage(error) + ")");
        }
        got += n;
        if (n == 0 || got > limit) break;
        ask = static_cast<std::size_t>(kReadPieceBytes);
    }
    CloseHandle(file);
    if (got > limit) fail(path, tooLarge);
    bytes.resize(got);
    return bytes;
}

void startGdiplus() {
    static std::once_flag once;
    std::call_once(once, [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        // Left running: frames are decoded until the program ends.
        Gdiplus::GdiplusStartup(&token, &input, nullptr);
    });
}

}  // namespace

std::wstring wide(const std::string& utf8Text) {
    if (utf8Text.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), out.data(), n);
    return out;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

DecodedFrame decodePngFrame(const std::string& png, int width, int height) {
    startGdiplus();
    IStream* stream =
        SHCreateMemStream(reinterpret_cast<const BYTE*>(png.data()), static_cast<UINT>(png.size()));
    if (stream == nullptr) throw DocumentFault{"cannot be decoded (out of memory)"};
    DecodedFrame frame{width, height, {}};
    {
        Gdiplus::Bitmap bitmap(stream, FALSE);
        // The header was checked; a decoder that finds other sides has read something else.
        if (bitmap.GetLastStatus() != Gdiplus::Ok || static_cast<int>(bitmap.GetWidth()) != width ||
            static_cast<int>(bitmap.GetHeight()) != height) {
            stream->Release();
            throw DocumentFault{"cannot be decoded as a PNG picture"};
        }
        Gdiplus::Rect all(0, 0, width, height);
        Gdiplus::BitmapData data{};
        if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
            stream->Release();
            throw DocumentFault{"cannot be decoded as a PNG picture"};
        }
        frame.pixels.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            std::memcpy(frame.pixels.data() + static_cast<std::size_t>(y) * width,
                        static_cast<const char*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                        static_cast<std::size_t>(width) * 4);
        bitmap.UnlockBits(&data);
    }
    stream->Release();
    return frame;
}

::agent::character::CharacterDocument readCharacterFile(const std::string& path,
                                                        const std::string& expectedId) {
    const std::string bytes = readBounded(path);
    ::agent::character::CharacterDocument doc;
    try {
        doc =
            ::agent::character::parseCharacterDocument(bytes, expectedId, ::agent::character::FrameKind::Png);
    } catch (const DocumentFault& f) {
        fail(path, f.what);
    }
    // One frame at a time: the file's budgets bound each, and nothing is kept here.
    for (const auto& [name, png] : doc.frames) {
        try {
            decodePngFrame(png, doc.width, doc.height);
        } catch (const DocumentFault& f) {
            fail(path, "frame " + ::agent::character::quotedExcerpt(name) + " " + f.what);
        }
    }
    return doc;
}

}  // namespace win32::agent
