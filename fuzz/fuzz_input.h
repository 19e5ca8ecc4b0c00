#pragma once

// The fuzz targets' shared helpers: the input as a loading archive, and the failures that
// a loader may raise for bad input (anything else escaping is a finding).

#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/memfile.h"

#include <cstddef>
#include <cstdint>

namespace plinth::fuzz {

// Runs load, absorbing the framework's exceptions (the XML service's CComException is one).
template <class Load>
void Expected(Load&& load) {
    try {
        load();
    } catch (const CException&) {
    }
}

// Runs load on a loading archive over size bytes of data.
template <class Load>
void FromArchive(const std::uint8_t* data, std::size_t size, Load&& load) {
    CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
    Expected([&] {
        CArchive ar(&file, CArchive::load, 64);
        load(ar);
    });
}

} // namespace plinth::fuzz
