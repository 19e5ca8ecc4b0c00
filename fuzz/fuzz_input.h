#pragma once

// The fuzz targets' shared helpers: the input as a loading archive, and the failures that
// a loader may raise for bad input (anything else escaping is a finding).

#include "plinth/persist/persist_context.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/archive.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/memfile.h"
#include "plinth/platform/xmldom.h"

#include <cstddef>
#include <cstdint>
#include <string>

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

// Runs load on a loading XML archive whose current element is the document element of the
// input parsed as XML; nothing when it does not parse.
template <class Load>
void FromXml(const std::uint8_t* data, std::size_t size, Load&& load) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    IXMLDOMDocumentPtr doc;
    if (doc.CreateInstance() != S_OK) {
        return;
    }
    Expected([&] {
        doc->loadXML(text.c_str());
        PC pc;
        pc.m_nDirection = PC::eLoading;
        PCExBase ar(&pc, doc);
        ar.Push(doc->documentElement());
        load(ar, doc->documentElement());
    });
}

// Loads may legitimately allocate what a size in the input claims (zeros where the data
// stops short): inputs that claim more than this are skipped, so that the search stays fast.
inline constexpr unsigned long long kMaxClaimedBytes = 1u << 20;

} // namespace plinth::fuzz
