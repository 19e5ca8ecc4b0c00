// Byte blobs: a blob stored into an XML document, saved to a file, loaded back and compared.
#include "sections.h"

#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace plinth;

void DemoBlob() {
    std::printf("\n-- Byte blobs --\n");
    const std::string path =
        (std::filesystem::temp_directory_path() / "plinth-demo-blob.xml").string();
    RtBlob stored("0AFF10C0DE");

    // Storing: the blob makes its own "Bl" element under the current one.
    IXMLDOMDocumentPtr doc;
    doc.CreateInstance();
    IXMLDOMElementPtr root = doc->createElement("Model");
    doc->appendChild(root);
    PC pc;
    pc.m_nDirection = PC::eStoring;
    PCExBase ar(&pc, doc);
    ar.m_bTabs = true;
    ar.Push(root);
    stored.PersistXML(ar);
    ar.PopElement(false);
    doc->save(path.c_str());

    // Loading: the caller makes "Bl" current, then the blob reads its size and bytes.
    IXMLDOMDocumentPtr reread;
    reread.CreateInstance();
    reread->load(path.c_str());
    std::remove(path.c_str());
    PC loading;
    loading.m_nDirection = PC::eLoading;
    PCExBase in(&loading, reread);
    in.Push(reread->documentElement());
    RtBlob loaded;
    const bool read = in.PersistElement("Bl") != nullptr && loaded.PersistXML(in);

    std::printf("%s\nread back %s: %u bytes %s, %s\n", reread->xml().GetString(),
                read ? "ok" : "failed", loaded.GetSize(), loaded.ToCString().GetString(),
                loaded.IsSameData(stored) ? "the same" : "different");
    // Blobs never free their bytes implicitly.
    stored.Delete();
    loaded.Delete();
}
