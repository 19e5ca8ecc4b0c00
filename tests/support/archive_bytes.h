#pragma once

// Byte-level helpers for tests of archive layouts.

#include "plinth/platform/archive.h"
#include "plinth/platform/memfile.h"

#include <functional>
#include <vector>

namespace plinth::testing {

using Bytes = std::vector<BYTE>;

// Everything the memory file holds.
inline Bytes Contents(CMemFile& file) {
    Bytes bytes(static_cast<std::size_t>(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// The bytes that `write` puts into a fresh storing archive.
inline Bytes Stored(const std::function<void(CArchive&)>& write, int bufSize = 4096) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, bufSize);
        write(ar);
    }
    return Contents(file);
}

// The bytes of value.Serialize on a storing archive.
template <class T>
Bytes StoredObject(T& value) {
    return Stored([&value](CArchive& ar) { value.Serialize(ar); });
}

} // namespace plinth::testing
