// The XML archive against the same document built and read with pugixml directly: 10 000
// parts, each a container of a double, three integers and a colour. Each pair BM_<case> and
// BM_<case>_Anchor does the same work; scripts/bench.sh prints their ratio.
#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <vector>

using namespace plinth;

namespace {

constexpr int kParts = 10000;
const char* const kInts[] = {"I0", "I1", "I2"};

double doubleValue(int i) {
    return 0.1234567 * i;
}

void colourOf(int i, float* rgb) {
    rgb[0] = static_cast<float>(i % 256) / 255.0f;
    rgb[1] = 0.5f;
    rgb[2] = static_cast<float>((i * 7) % 256) / 255.0f;
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
    for (int i = 0; i < kParts; ++i) {
        ar.PushElement("P");
        double d = doubleValue(i);
        ar.PersistDouble("D", d);
        for (int j = 0; j < 3; ++j) {
            ar.PushInt(kInts[j], i + j);
        }
        float rgb[3];
        colourOf(i, rgb);
        ar.PersistColor(rgb);
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
        double d = 0;
        ar.PersistDouble("D", d);
        sum += d;
        for (const char* name : kInts) {
            int v = 0;
            ar.ReadInt(name, v);
            sum += v;
        }
        float rgb[3] = {};
        ar.PersistColor(rgb);
        sum += rgb[0] + rgb[1] + rgb[2];
        ar.PopElement(false);
    }
    return sum;
}

// ---- With pugixml directly, writing the same text

void appendLeaf(pugi::xml_node parent, const char* name, char* text, char* end) {
    *end = '\0';
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(text);
}

char* appendGeneral(char* text, char* last, double v) {
    return std::to_chars(text, last, v, std::chars_format::general, 6).ptr;
}

void storeDirect(pugi::xml_document& doc) {
    pugi::xml_node root = doc.append_child("R");
    char text[64];
    char* const last = text + sizeof text - 1;
    for (int i = 0; i < kParts; ++i) {
        pugi::xml_node p = root.append_child("P");
        appendLeaf(p, "D", text, appendGeneral(text, last, doubleValue(i)));
        for (int j = 0; j < 3; ++j) {
            appendLeaf(p, kInts[j], text, std::to_chars(text, last, i + j).ptr);
        }
        float rgb[3];
        colourOf(i, rgb);
        char* end = text;
        for (int k = 0; k < 3; ++k) {
            if (k > 0) {
                *end++ = ' ';
            }
            end = appendGeneral(end, last, rgb[k]);
        }
        appendLeaf(p, "Co", text, end);
    }
}

double loadDirect(const pugi::xml_document& doc) {
    double sum = 0;
    for (pugi::xml_node p : doc.document_element().children()) {
        const char* text = p.child("D").child_value();
        double d = 0;
        std::from_chars(text, text + std::strlen(text), d);
        sum += d;
        for (const char* name : kInts) {
            text = p.child(name).child_value();
            int v = 0;
            std::from_chars(text, text + std::strlen(text), v);
            sum += v;
        }
        text = p.child("Co").child_value();
        const char* end = text + std::strlen(text);
        for (int k = 0; k < 3 && text < end; ++k) {
            float c = 0;
            text = std::from_chars(text, end, c).ptr + 1;
            sum += c;
        }
    }
    return sum;
}

struct StringWriter : pugi::xml_writer {
    void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
    std::string text;
};

std::string saveDirect(const pugi::xml_document& doc) {
    StringWriter writer;
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return std::move(writer.text);
}

// ---- The pairs

void BM_XmlStore(benchmark::State& state) {
    for (auto _ : state) {
        IXMLDOMDocumentPtr doc = storeWithArchive();
        benchmark::DoNotOptimize(doc);
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlStore)->Unit(benchmark::kMicrosecond);

void BM_XmlStore_Anchor(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document doc;
        storeDirect(doc);
        benchmark::DoNotOptimize(doc);
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlStore_Anchor)->Unit(benchmark::kMicrosecond);

void BM_XmlLoad(benchmark::State& state) {
    const IXMLDOMDocumentPtr doc = storeWithArchive();
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadWithArchive(doc));
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlLoad)->Unit(benchmark::kMicrosecond);

void BM_XmlLoad_Anchor(benchmark::State& state) {
    pugi::xml_document doc;
    storeDirect(doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadDirect(doc));
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlLoad_Anchor)->Unit(benchmark::kMicrosecond);

// Stored, saved as text, parsed into a new document and loaded back.
void BM_XmlRoundTrip(benchmark::State& state) {
    for (auto _ : state) {
        const CString text = storeWithArchive()->xml();
        IXMLDOMDocumentPtr doc;
        doc.CreateInstance();
        doc->loadXML(text);
        benchmark::DoNotOptimize(loadWithArchive(doc));
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_XmlRoundTrip_Anchor(benchmark::State& state) {
    for (auto _ : state) {
        std::string text;
        {
            pugi::xml_document doc;
            storeDirect(doc);
            text = saveDirect(doc);
        }
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
        benchmark::DoNotOptimize(loadDirect(doc));
    }
    state.SetItemsProcessed(state.iterations() * kParts);
}
BENCHMARK(BM_XmlRoundTrip_Anchor)->Unit(benchmark::kMicrosecond);

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
