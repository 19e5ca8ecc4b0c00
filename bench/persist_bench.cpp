// The XML archive against the same tree built and read with pugixml directly: 1000
// containers of ten leaves (five "%g" doubles, five integers), 10 000 leaf values in all.
#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <vector>
#include <pugixml.hpp>

using namespace plinth;

namespace {

constexpr int kContainers = 1000;
const char* const kDoubles[] = {"D0", "D1", "D2", "D3", "D4"};
const char* const kInts[] = {"I0", "I1", "I2", "I3", "I4"};

double doubleValue(int i, int j) {
    return 0.1234567 * i + j;
}

// ---- Through the archive

IXMLDOMDocumentPtr storeWithArchive() {
    IXMLDOMDocumentPtr doc;
    doc.CreateInstance();
    PC pc;
    pc.m_nDirection = PC::eStoring;
    PCExBase ar(&pc, doc);
    IXMLDOMElementPtr root = doc->createElement("R");
    doc->appendChild(root);
    ar.Push(root);
    for (int i = 0; i < kContainers; ++i) {
        ar.PushElement("P");
        for (int j = 0; j < 5; ++j) {
            double v = doubleValue(i, j);
            ar.PersistDouble(kDoubles[j], v);
        }
        for (int j = 0; j < 5; ++j) {
            ar.PushInt(kInts[j], i + j);
        }
        ar.PopElement(false);
    }
    ar.PopElement(false);
    return doc;
}

double loadWithArchive(const IXMLDOMDocumentPtr& doc) {
    PC pc;
    pc.m_nDirection = PC::eLoading;
    PCExBase ar(&pc, doc);
    double sum = 0;
    for (IXMLDOMNodePtr p = doc->documentElement()->firstChild(); p; p = p->nextSibling()) {
        ar.Push(p);
        for (const char* name : kDoubles) {
            double v = 0;
            ar.PersistDouble(name, v);
            sum += v;
        }
        for (const char* name : kInts) {
            int v = 0;
            ar.ReadInt(name, v);
            sum += v;
        }
        ar.PopElement(false);
    }
    return sum;
}

// ---- With pugixml directly, writing the same text

void appendLeaf(pugi::xml_node parent, const char* name, char* text, char* end) {
    *end = '\0';
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(text);
}

void storeDirect(pugi::xml_document& doc) {
    pugi::xml_node root = doc.append_child("R");
    char text[32];
    char* const last = text + sizeof text - 1;
    for (int i = 0; i < kContainers; ++i) {
        pugi::xml_node p = root.append_child("P");
        for (int j = 0; j < 5; ++j) {
            const auto r =
                std::to_chars(text, last, doubleValue(i, j), std::chars_format::general, 6);
            appendLeaf(p, kDoubles[j], text, r.ptr);
        }
        for (int j = 0; j < 5; ++j) {
            appendLeaf(p, kInts[j], text, std::to_chars(text, last, i + j).ptr);
        }
    }
}

double loadDirect(const pugi::xml_document& doc) {
    double sum = 0;
    for (pugi::xml_node p : doc.document_element().children()) {
        for (const char* name : kDoubles) {
            const char* text = p.child(name).child_value();
            double v = 0;
            std::from_chars(text, text + std::strlen(text), v);
            sum += v;
        }
        for (const char* name : kInts) {
            const char* text = p.child(name).child_value();
            int v = 0;
            std::from_chars(text, text + std::strlen(text), v);
            sum += v;
        }
    }
    return sum;
}

void BM_StoreArchive(benchmark::State& state) {
    for (auto _ : state) {
        IXMLDOMDocumentPtr doc = storeWithArchive();
        benchmark::DoNotOptimize(doc);
    }
    state.SetItemsProcessed(state.iterations() * kContainers * 10);
}
BENCHMARK(BM_StoreArchive)->Unit(benchmark::kMicrosecond);

void BM_StoreDirect(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document doc;
        storeDirect(doc);
        benchmark::DoNotOptimize(doc);
    }
    state.SetItemsProcessed(state.iterations() * kContainers * 10);
}
BENCHMARK(BM_StoreDirect)->Unit(benchmark::kMicrosecond);

void BM_LoadArchive(benchmark::State& state) {
    const IXMLDOMDocumentPtr doc = storeWithArchive();
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadWithArchive(doc));
    }
    state.SetItemsProcessed(state.iterations() * kContainers * 10);
}
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMicrosecond);

void BM_LoadDirect(benchmark::State& state) {
    pugi::xml_document doc;
    storeDirect(doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadDirect(doc));
    }
    state.SetItemsProcessed(state.iterations() * kContainers * 10);
}
BENCHMARK(BM_LoadDirect)->Unit(benchmark::kMicrosecond);

// ---- Blobs of 1 MiB: hexadecimal text and the "Bl" element, there and back

constexpr ULONG kBlobBytes = 1u << 20;

std::vector<unsigned char> blobBytes() {
    std::vector<unsigned char> bytes(kBlobBytes);
    for (ULONG i = 0; i < kBlobBytes; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 131 + 7);
    }
    return bytes;
}

void BM_BlobHexRoundTrip(benchmark::State& state) {
    std::vector<unsigned char> bytes = blobBytes();
    const RtBlob blob(kBlobBytes, bytes.data());
    RtBlob back;
    for (auto _ : state) {
        const CString text = blob.ToCString();
        back.StringToBinary(text);
        benchmark::DoNotOptimize(back.m_pData);
    }
    back.Delete();
    state.SetBytesProcessed(state.iterations() * kBlobBytes);
}
BENCHMARK(BM_BlobHexRoundTrip)->Unit(benchmark::kMillisecond);

void BM_BlobXmlRoundTrip(benchmark::State& state) {
    std::vector<unsigned char> bytes = blobBytes();
    RtBlob blob(kBlobBytes, bytes.data());
    RtBlob back;
    for (auto _ : state) {
        IXMLDOMDocumentPtr doc;
        doc.CreateInstance();
        IXMLDOMElementPtr root = doc->createElement("R");
        doc->appendChild(root);
        PC pc;
        pc.m_nDirection = PC::eStoring;
        PCExBase ar(&pc, doc);
        ar.Push(root);
        blob.PersistXML(ar);
        pc.m_nDirection = PC::eLoading; // the same archive reads the element it made
        ar.PersistElement("Bl");
        benchmark::DoNotOptimize(back.PersistXML(ar));
    }
    back.Delete();
    state.SetBytesProcessed(state.iterations() * kBlobBytes);
}
BENCHMARK(BM_BlobXmlRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace
