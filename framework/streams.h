// Byte streams: in memory, on a file, and over a program resource.
//
// Read and Write move as many bytes as they can and say how many; the
// *Buffer forms insist on the full count and throw EReadError/EWriteError
// otherwise, so a short or truncated input never passes unnoticed.
// Positions and sizes are 64-bit; Seek clamps nothing and may leave the
// position past the end (a later Write then fills the gap with zeros in a
// memory stream).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/classes.h"

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    DECLARE_CLASS(TStream, TObject)
public:
    // Reads up to `count` bytes into `buffer`; returns how many were read
    // (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes up to `count` bytes; returns how many were written.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Moves the position; returns the new one. Throws EStreamError for a
    // position before the start.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t size);

    // Exactly `count` bytes or EReadError ("Stream read error").
    void ReadBuffer(void* buffer, int64_t count);
    // Exactly `count` bytes or EWriteError ("Stream write error").
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies `count` bytes from `source` (its whole content from the start
    // when count is 0); returns the number copied. Throws EReadError when
    // the source ends early.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
    DECLARE_CLASS(TMemoryStream, TStream)
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    void SetSize(int64_t size) override;

    // The bytes; valid until the next change of size.
    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();
    // Replaces the content with the whole of `stream` / of a file; the
    // position becomes 0. LoadFromFile throws EFOpenError when the file
    // cannot be opened.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<unsigned char> FData;
    int64_t FPosition = 0;
};

// File access modes of TFileStream.
enum TFileMode {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00,  // create or truncate, read and write
};

// A stream on a file (8-bit path in the ANSI code page).
class TFileStream : public TStream {
    DECLARE_CLASS(TFileStream, TStream)
public:
    // Throws EFOpenError with the system's reason when the file cannot be
    // opened or created.
    TFileStream(const std::string& fileName, unsigned mode);
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    void SetSize(int64_t size) override;
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
};

// A read-only stream over a resource of a module, RCDATA by default.
class TResourceStream : public TStream {
    DECLARE_CLASS(TResourceStream, TStream)
public:
    // Throws EResNotFound when the module has no such resource.
    TResourceStream(HINSTANCE instance, const std::string& name, LPCSTR type = MAKEINTRESOURCEA(10) /* RT_RCDATA */);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;  // throws EWriteError
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    const void* Memory() const { return FData; }

private:
    const unsigned char* FData = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};
