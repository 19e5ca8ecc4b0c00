// Every allocation of a whole operation fails in turn: each failure must surface as
// CMemoryException or as the status the service names (E_OUTOFMEMORY), leak nothing (the
// asan preset checks) and leave the objects usable.

#include "support/archive_bytes.h"

#include "plinth/containers/dictionary.h"
#include "plinth/persist/buffer_base.h"
#include "plinth/persist/persist_context.h"
#include "plinth/persist/rt_blob.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/xmldom.h"
#include "plinth/range/set_r1.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Allocations left before the one that fails; negative: none fails.
long g_allocationsBeforeFailure = -1;

void* Allocate(std::size_t size) noexcept {
    if (g_allocationsBeforeFailure == 0) {
        return nullptr;
    }
    if (g_allocationsBeforeFailure > 0) {
        --g_allocationsBeforeFailure;
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
    void* p = Allocate(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t /*size*/) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t /*size*/) noexcept {
    std::free(p);
}

using namespace plinth;

namespace {

// Runs operation with the Nth allocation failing, for N = 0, 1, ... until it succeeds; after
// each failure `check` sees that the objects are still usable. Returns the number of
// failures seen. The operation calls the library only: the test's own allocations must not
// fail.
int SweepFailures(const std::function<void()>& operation, const std::function<void()>& check) {
    for (long n = 0;; ++n) {
        SCOPED_TRACE(n);
        bool failed = true;
        g_allocationsBeforeFailure = n;
        try {
            operation();
            failed = false;
        } catch (const CMemoryException&) {
        } catch (const CComException& e) {
            EXPECT_EQ(e.Error(), E_OUTOFMEMORY);
        }
        g_allocationsBeforeFailure = -1;
        check();
        if (!failed) {
            return static_cast<int>(n);
        }
        if (n > 100000) {
            ADD_FAILURE() << "the operation never completes";
            return static_cast<int>(n);
        }
    }
}

// A new document whose root "R" is the current element of an archive in that direction.
struct XmlPass {
    explicit XmlPass(LONG direction) {
        if (doc.CreateInstance() != S_OK) {
            AfxThrowComException(E_OUTOFMEMORY);
        }
        pc.m_nDirection = direction;
        doc->appendChild(doc->createElement("R"));
        ar = PCExBase(&pc, doc);
        ar.Push(doc->documentElement());
    }
    PC pc;
    IXMLDOMDocumentPtr doc;
    PCExBase ar;
};

// store writes into a new document, which is saved to a file, parsed again and handed to
// load as a loading pass.
void ThroughXmlFile(const std::string& path, const std::function<void(PCExBase&)>& store,
                    const std::function<void(XmlPass&)>& load) {
    XmlPass out(PC::eStoring);
    store(out.ar);
    out.doc->save(path.c_str());
    XmlPass in(PC::eLoading);
    in.doc->load(path.c_str());
    in.ar.Push(in.doc->documentElement());
    load(in);
}

std::string TempPath(const char* name) {
    return ::testing::TempDir() + std::to_string(::getpid()) + name;
}

} // namespace

TEST(AllocationFailure, IntervalSetStoredAndLoaded) {
    SetR1 set;
    for (int i = 0; i < 50; ++i) {
        set.AddRange(3 * i, 3 * i + 1);
    }
    const plinth::testing::Bytes bytes = plinth::testing::StoredObject(set);
    SetR1 loaded;
    const int failures = SweepFailures(
        [&] {
            CMemFile file;
            {
                CArchive ar(&file, CArchive::store);
                set.Serialize(ar);
            }
            file.SeekToBegin();
            CArchive ar(&file, CArchive::load);
            loaded.Serialize(ar);
        },
        [&] {
            EXPECT_LE(loaded.GetSize(), set.GetSize());
            loaded.AddRange(1000, 1001); // still usable
            loaded.RemoveAll();
        });
    EXPECT_GT(failures, 2);
    CMemFile file(const_cast<BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(plinth::testing::StoredObject(loaded), bytes);
}

TEST(AllocationFailure, XmlDocumentBuiltSavedParsedAndReadBack) {
    IXMLDOMDocumentPtr parsed;
    ASSERT_EQ(parsed.CreateInstance(), S_OK);
    CString last;
    const int failures = SweepFailures(
        [&] {
            XmlPass out(PC::eStoring);
            for (int i = 0; i < 5; ++i) {
                out.ar.PushInt("V", i);
                out.ar.PushString("S", "caf\xC3\xA9 <&>");
            }
            parsed->loadXML(out.doc->xml());
            last = parsed->selectSingleNode("R/S[last()]")->text();
        },
        [&] {
            if (parsed->documentElement()) { // the last document that loaded, whole
                EXPECT_EQ(parsed->documentElement()->nodeName(), "R");
            }
        });
    EXPECT_EQ(std::string(last), "caf\xC3\xA9 <&>");
    EXPECT_GT(failures, 5);
}

TEST(AllocationFailure, DictionaryFilled) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) {
        names.push_back("entry" + std::to_string(i));
    }
    DictionaryVel dict;
    std::size_t added = 0;
    const int failures = SweepFailures(
        [&] {
            for (; added < names.size(); ++added) {
                if (!dict.AddItem(names[added].c_str(), added % 2 == 0 ? eDictInt : eDictString,
                                  "described")) {
                    AfxThrowMemoryException(); // the dictionary's own report of the failure
                }
            }
        },
        [&] {
            for (std::size_t i = 0; i < added; ++i) {
                EXPECT_NE(dict.FindItem(names[i].c_str()), nullptr);
            }
        });
    EXPECT_GT(failures, 0);
    EXPECT_EQ(added, names.size());
}

TEST(AllocationFailure, BlobThroughXml) {
    std::vector<unsigned char> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7);
    }
    const RtBlob blob(static_cast<ULONG>(bytes.size()), bytes.data()); // a view: nothing to free
    const std::string path = TempPath("alloc_blob.xml");
    RtBlob loaded;
    const int failures = SweepFailures(
        [&] {
            ThroughXmlFile(
                path, [&](PCExBase& ar) { RtBlob(blob).PersistXML(ar); },
                [&](XmlPass& in) {
                    in.ar.PersistElement("Bl");
                    loaded.PersistXML(in.ar);
                });
        },
        [&] { EXPECT_TRUE(loaded.m_nSize == 0 || loaded.IsSameData(blob)); });
    EXPECT_GT(failures, 5);
    EXPECT_TRUE(loaded.IsSameData(blob));
    loaded.Delete();
    std::remove(path.c_str());
}

TEST(AllocationFailure, RowBufferThroughXml) {
    BufferBase rows;
    rows.SetRowSize(3);
    rows.SetCount(40);
    for (ULONG i = 0; i < 40; ++i) {
        BYTE* row = rows.GetRow(i);
        row[0] = static_cast<BYTE>(i);
        row[1] = static_cast<BYTE>(i * 3);
        row[2] = static_cast<BYTE>(0xF0 | i);
    }
    const std::string path = TempPath("alloc_rows.xml");
    for (const bool hex : {true, false}) {
        SCOPED_TRACE(hex);
        BufferBase loaded;
        const int failures = SweepFailures(
            [&] {
                ThroughXmlFile(
                    path, [&](PCExBase& ar) { rows.PersistXML(ar, hex); },
                    [&](XmlPass& in) { loaded.PersistXML(in.ar, !hex); });
            },
            // Each failure leaves the table empty, as it was.
            [&] { EXPECT_TRUE(loaded.GetCount() == 0 || loaded.IsSame(rows)); });
        EXPECT_GT(failures, 5);
        EXPECT_TRUE(loaded.IsSame(rows));
    }
    std::remove(path.c_str());
}
