// XML and blobs: a record with a byte blob stored as XML text and read back.
//
// PCExBase walks a document with an element stack; the same Persist* calls store or load
// depending on the context's direction, so one routine serves both. An RtBlob stores itself
// as <Bl><Sz>size</Sz><Dt>hex</Dt></Bl>. Text that is not well-formed XML raises a
// CComException and leaves the document as it was.
#include "plinth/persist/persist_context.h"
#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/xmldom.h"

#include <cstdio>

using namespace plinth;

namespace {

struct Profile {
    double widths[3] = {};
    bool closed = false;
    RtBlob thumbnail; // owns its bytes only through Delete
};

// Stores or loads a profile under the document's root element, as `direction` says.
bool PersistProfile(const IXMLDOMDocumentPtr& doc, LONG direction, Profile& profile) {
    PC context;
    context.m_nDirection = direction;
    PCExBase ar(&context, doc);
    ar.m_bTabs = true; // indent when storing
    ar.Push(doc->documentElement());
    bool ok = false;
    if (ar.PersistElement("Profile") != nullptr) {
        ok =
            ar.PersistData("Widths", profile.widths, 3) && ar.PersistBool("Closed", profile.closed);
        if (direction == PC::eStoring) {
            profile.thumbnail.PersistXML(ar); // makes its own "Bl" element
        } else if (ar.PersistElement("Bl") != nullptr) {
            ok = profile.thumbnail.PersistXML(ar) && ok; // reads inside the current "Bl"
            ar.PopElement(false);
        }
        ar.PopElement(false);
    }
    ar.PopElement(false);
    return ok;
}

} // namespace

int main() {
    Profile stored;
    stored.widths[0] = 1.5;
    stored.widths[1] = 2.25;
    stored.widths[2] = 4;
    stored.closed = true;
    stored.thumbnail.StringToBinary("89504E47");

    IXMLDOMDocumentPtr doc;
    doc.CreateInstance();
    doc->appendChild(doc->createElement("Model"));
    PersistProfile(doc, PC::eStoring, stored);
    const CString text = doc->xml();
    std::printf("%s\n", text.GetString());

    // A second document parses the text and the same routine reads it back.
    IXMLDOMDocumentPtr reread;
    reread.CreateInstance();
    reread->loadXML(text.GetString());
    Profile loaded;
    const bool ok = PersistProfile(reread, PC::eLoading, loaded);
    const bool same = loaded.thumbnail.IsSameData(stored.thumbnail);
    std::printf("read back %s: widths %g %g %g, closed %s, thumbnail %s (%s)\n",
                ok ? "ok" : "failed", loaded.widths[0], loaded.widths[1], loaded.widths[2],
                loaded.closed ? "yes" : "no", loaded.thumbnail.ToCString().GetString(),
                same ? "the same bytes" : "different bytes");

    // Broken text: the status says why, and the document keeps what it held.
    HRESULT status = S_OK;
    try {
        reread->loadXML("<Model><Profile></Model>");
    } catch (const CComException& e) {
        status = e.Error();
    }
    std::printf("broken text: status 0x%08X, document still holds <%s>\n",
                static_cast<unsigned>(status), reread->documentElement()->nodeName().GetString());

    stored.thumbnail.Delete();
    loaded.thumbnail.Delete();
    return ok && same && status == XML_E_PARSEERROR ? 0 : 1;
}
