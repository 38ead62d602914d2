// Memory, file and resource streams (see streams.h).
#include "framework/streams.h"

#include <algorithm>
#include <cstring>

namespace {

std::string LastErrorText()
{
    DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text ? Trim(text) : Format("error %lu", code);
    if (text) LocalFree(text);
    return result;
}

int64_t Resolve(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size)
{
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
    int64_t result = base + offset;
    if (result < 0) throw EStreamError("Stream seek before the beginning");
    return result;
}

}  // namespace

IMPLEMENT_CLASS(TStream)
IMPLEMENT_CLASS(TMemoryStream)
IMPLEMENT_CLASS(TFileStream)
IMPLEMENT_CLASS(TResourceStream)

int64_t TStream::Size()
{
    int64_t position = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(Format("%s cannot change its size", ClassName().c_str())); }

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count < 0 || Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count < 0 || Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    unsigned char buffer[16384];
    int64_t left = count;
    while (left > 0) {
        int64_t n = std::min<int64_t>(left, sizeof buffer);
        source.ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream ----------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t size = Size();
    if (count <= 0 || FPosition >= size) return 0;
    int64_t n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0) return 0;
    int64_t end = FPosition + count;
    if (end > Size()) SetSize(end);
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = Resolve(offset, origin, FPosition, Size());
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size)
{
    if (size < 0) throw EStreamError("Negative stream size");
    if (static_cast<uint64_t>(size) > FData.max_size()) throw EStreamError("Out of memory for the stream");
    FData.resize(static_cast<size_t>(size));
    if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear()
{
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    int64_t size = stream.Size();
    SetSize(size);
    FPosition = 0;
    if (size > 0) stream.ReadBuffer(FData.data(), size);
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream)
{
    if (!FData.empty()) stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// ---- TFileStream -------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, unsigned mode) : FFileName(fileName)
{
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode == fmCreate) {
        access = GENERIC_READ | GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
    } else if ((mode & 3) == fmOpenWrite) {
        access = GENERIC_WRITE;
    } else if ((mode & 3) == fmOpenReadWrite) {
        access = GENERIC_READ | GENERIC_WRITE;
    }
    FHandle = CreateFileW(AnsiToWide(fileName).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
        throw EFOpenError(Format(mode == fmCreate ? "Cannot create file \"%s\". %s" : "Cannot open file \"%s\". %s",
                                 fileName.c_str(), LastErrorText().c_str()));
    }
}

TFileStream::~TFileStream()
{
    if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    int64_t total = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30));
        DWORD got = 0;
        if (!ReadFile(FHandle, out + total, chunk, &got, nullptr) || got == 0) break;
        total += got;
        count -= got;
    }
    return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    int64_t total = 0;
    auto* in = static_cast<const unsigned char*>(buffer);
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 1 << 30));
        DWORD put = 0;
        if (!WriteFile(FHandle, in + total, chunk, &put, nullptr) || put == 0) break;
        total += put;
        count -= put;
    }
    return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(FHandle, distance, &result, methods[origin]))
        throw EStreamError(Format("Cannot seek in \"%s\". %s", FFileName.c_str(), LastErrorText().c_str()));
    return result.QuadPart;
}

void TFileStream::SetSize(int64_t size)
{
    int64_t position = Position();
    Seek(size, soBeginning);
    if (!SetEndOfFile(FHandle))
        throw EStreamError(Format("Cannot resize \"%s\". %s", FFileName.c_str(), LastErrorText().c_str()));
    if (position < size) Seek(position, soBeginning);
}

// ---- TResourceStream ----------------------------------------------------------

TResourceStream::TResourceStream(HINSTANCE instance, const std::string& name, LPCSTR type)
{
    HRSRC info = FindResourceA(instance, name.c_str(), type);
    HGLOBAL block = info ? LoadResource(instance, info) : nullptr;
    if (!block) throw EResNotFound(Format("Resource %s not found", name.c_str()));
    FData = static_cast<const unsigned char*>(LockResource(block));
    FSize = SizeofResource(instance, info);
}

int64_t TResourceStream::Read(void* buffer, int64_t count)
{
    if (count <= 0 || FPosition >= FSize) return 0;
    int64_t n = std::min(count, FSize - FPosition);
    std::memcpy(buffer, FData + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TResourceStream::Write(const void*, int64_t) { throw EWriteError("A resource stream cannot be written"); }

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin)
{
    FPosition = Resolve(offset, origin, FPosition, FSize);
    return FPosition;
}
