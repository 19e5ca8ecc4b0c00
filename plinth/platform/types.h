#pragma once

#include <cstddef>
#include <cstdint>

namespace plinth {

/// The library's stored data comes from a 32-bit data model: LONG, ULONG and DWORD are
/// 32 bits wide here even though `long` is 64 bits on this platform.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
/// `long long` rather than std::int64_t (which is `long` here, archived as 4 bytes).
using LONGLONG = long long;
using ULONGLONG = unsigned long long;
using BOOL = int;
using HRESULT = LONG;
using SCODE = LONG;
using FLOAT = float;
using DOUBLE = double;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCTSTR = const char*;
using TCHAR = char;

/// Opaque handle of a list node or a map walk; null means "none".
struct PositionTag;
using POSITION = PositionTag*;

/// Base address of a loaded module, which is also how the framework identifies it.
using HMODULE = void*;
using HINSTANCE = HMODULE;

} // namespace plinth
