// The XML archive: one routine stores a small tree of values and reads it back from a file.
#include "sections.h"

#include "plinth/persist/xml_archive.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace plinth;

namespace {

struct Part {
    double size = 0;
    int ids[3] = {};
    float color[3] = {};
};

// Both directions: the context's direction decides.
void persistPart(const IXMLDOMDocumentPtr& doc, LONG direction, Part& part) {
    PC pc;
    pc.m_nDirection = direction;
    PCExBase ar(&pc, doc);
    ar.m_bTabs = true;
    ar.Push(doc->documentElement());
    if (ar.PersistElement("Part") != nullptr) {
        ar.PersistDouble("Sz", part.size);
        ar.PersistDataInt("Id", part.ids, 3);
        ar.PersistColor(part.color);
        ar.PopElement(false);
    }
    ar.PopElement(false);
}

} // namespace

void DemoXml() {
    std::printf("\n-- XML archive --\n");
    const std::string path = (std::filesystem::temp_directory_path() / "plinth-demo.xml").string();
    Part stored{0.1234567, {4, 8, 15}, {1, 0.5f, 0.25f}}, loaded;
    IXMLDOMDocumentPtr doc;
    doc.CreateInstance();
    doc->appendChild(doc->createElement("Model"));
    persistPart(doc, PC::eStoring, stored);
    doc->save(path.c_str());

    doc->load(path.c_str());
    std::remove(path.c_str());
    persistPart(doc, PC::eLoading, loaded);
    std::printf("%s\nread back: size %g, ids %d %d %d, red %g\n", doc->xml().GetString(),
                loaded.size, loaded.ids[0], loaded.ids[1], loaded.ids[2],
                static_cast<double>(loaded.color[0]));
}
