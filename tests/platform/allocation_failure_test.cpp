// Every allocation of a whole operation fails in turn: each failure must surface as
// CMemoryException or as the status the service names (E_OUTOFMEMORY), leak nothing (the
// asan preset checks) and leave the objects usable.

#include "support/archive_bytes.h"

#include "plinth/containers/dictionary.h"
#include "plinth/persist/persist_context.h"
#include "plinth/persist/xml_archive.h"
#include "plinth/platform/com_exception.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/hresult.h"
#include "plinth/platform/throw.h"
#include "plinth/platform/xmldom.h"
#include "plinth/range/set_r1.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
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
            IXMLDOMDocumentPtr doc;
            if (doc.CreateInstance() != S_OK) {
                AfxThrowComException(E_OUTOFMEMORY);
            }
            PC pc;
            pc.m_nDirection = PC::eStoring;
            doc->appendChild(doc->createElement("R"));
            PCExBase ar(&pc, doc);
            ar.Push(doc->documentElement());
            for (int i = 0; i < 5; ++i) {
                ar.PushInt("V", i);
                ar.PushString("S", "caf\xC3\xA9 <&>");
            }
            parsed->loadXML(doc->xml());
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
