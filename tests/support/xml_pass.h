#pragma once

// An XML archive pass over a small document, for tests of PersistXML routines.

#include "plinth/persist/xml_archive.h"
#include "plinth/platform/hresult.h"

#include <gtest/gtest.h>

namespace plinth::testing {

// A document with its root attached and pushed, as a caller sets up a pass.
struct Pass {
    explicit Pass(LONG direction, const char* text = "<R/>", bool tabs = false) {
        pc.m_nDirection = direction;
        EXPECT_EQ(doc.CreateInstance(), S_OK);
        doc->loadXML(text);
        ar = PCExBase(&pc, doc);
        ar.m_bTabs = tabs;
        ar.Push(doc->documentElement());
    }
    PC pc;
    IXMLDOMDocumentPtr doc;
    PCExBase ar;
};

} // namespace plinth::testing
