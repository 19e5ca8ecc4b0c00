// XML text: parsed, then read through the archive's readers and queried. The input is
// "pattern\n" followed by the document.

#include "fuzz_input.h"

#include "plinth/persist/persist_context.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/xmldom.h"

#include <string>

using namespace plinth;

namespace {

void ReadEverything(PCExBase& ar) {
    int i = 0;
    bool b = false;
    BYTE by = 0;
    DWORD dw = 0;
    double values[8] = {};
    float floats[8] = {};
    int ints[8] = {};
    float rgb[3] = {};
    ar.ReadItem("V");
    ar.ReadItem("", false);
    ar.ReadInt("V", i);
    ar.ReadBool("B", b);
    ar.ReadData("D", values, 8);
    ar.ReadDataFloat("D", floats, 8);
    ar.ReadDataInt("D", ints, 8);
    ar.PersistColor(rgb);
    const IXMLDOMElementPtr current = ar.GetCurElem();
    PCExBase::ReadBYTE(current, "V", by);
    PCExBase::ReadDWORD(current, "V", dw);
    PCExBase::GetChildElementCount(current);
    if (ar.PersistElement("X", true)) {
        ReadEverything(ar);
        ar.PopElement();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string pattern = split == std::string::npos ? "*" : input.substr(0, split);
    const std::string text = split == std::string::npos ? input : input.substr(split + 1);
    IXMLDOMDocumentPtr doc;
    if (doc.CreateInstance() != S_OK) {
        return 0;
    }
    fuzz::Expected([&] {
        doc->loadXML(text.c_str());
        PC pc;
        pc.m_nDirection = PC::eLoading;
        PCExBase ar(&pc, doc);
        ar.Push(doc->documentElement());
        ReadEverything(ar);
        doc->selectSingleNode(pattern.c_str());
        doc->documentElement()->selectSingleNode(pattern.c_str());
    });
    return 0;
}
