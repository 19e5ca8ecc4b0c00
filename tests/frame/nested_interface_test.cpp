#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_obj.h"

#include <gtest/gtest.h>

using namespace plinth;

namespace {

inline constexpr IID IID_IAlpha = {0xA1, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
inline constexpr IID IID_IBeta = {0xB2, 0, 0, {0, 0, 0, 0, 0, 0, 0, 2}};

struct IAlpha : IUnknown {
    static constexpr const IID& kIid = IID_IAlpha;
    virtual int Value() = 0;
};

struct IBeta : IUnknown {
    static constexpr const IID& kIid = IID_IBeta;
};

// The plain pattern with two interfaces; IBeta answers IUnknown itself.
class Widget : public CRefObj {
public:
    class XAlpha : public NestedInterface<Widget, IAlpha> {
    public:
        using NestedInterface::NestedInterface;
        int Value() override { return This().m_nValue; }
    };
    class XBeta : public NestedInterface<Widget, IBeta> {
    public:
        using NestedInterface::NestedInterface;
        HRESULT QueryInterface(REFIID iid, void** ppv) override { return QuerySelfFirst(iid, ppv); }
    };

    explicit Widget(int value)
        : m_nValue(value) {}
    Widget(const Widget& other)
        : CRefObj(other)
        , m_nValue(other.m_nValue + 1) {}

    HRESULT QueryInterface(REFIID iid, void** ppv) override {
        return QueryOuterInterface(this, iid, ppv, m_xAlpha, m_xBeta);
    }

    XAlpha m_xAlpha{this};
    XBeta m_xBeta{this};
    int m_nValue;
};

void* Query(IUnknown* from, REFIID iid) {
    void* out = from; // must be overwritten
    const HRESULT hr = from->QueryInterface(iid, &out);
    EXPECT_EQ(hr == S_OK, out != nullptr);
    return out;
}

} // namespace

TEST(NestedInterface, OuterQueryFollowsTheFourSteps) {
    Widget widget(0);
    widget.SetByVal();
    EXPECT_EQ(widget.QueryInterface(IID_IAlpha, nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(Query(&widget, IID_IAlpha), static_cast<IAlpha*>(&widget.m_xAlpha));
    EXPECT_EQ(Query(&widget, IID_IBeta), static_cast<IBeta*>(&widget.m_xBeta));
    EXPECT_EQ(Query(&widget, IID_IUnknown), static_cast<IUnknown*>(&widget.m_xAlpha)); // first
    EXPECT_EQ(Query(&widget, IID_ImplObject), &widget);
    EXPECT_EQ(widget.GetRef(), 3u); // none for the identity query
    EXPECT_EQ(Query(&widget, GUID_NULL), nullptr);
}

TEST(NestedInterface, InterfacesShareTheOuterCount) {
    auto* widget = new Widget(7);
    auto* alpha = static_cast<IAlpha*>(Query(widget, IID_IAlpha));
    widget->Release(); // the creator's reference
    auto* beta = static_cast<IBeta*>(Query(alpha, IID_IBeta));
    EXPECT_EQ(alpha->Value(), 7);
    EXPECT_EQ(beta->AddRef(), 3u);

    // IBeta answers its own identifier and IUnknown with itself and forwards the rest.
    EXPECT_EQ(Query(beta, IID_IUnknown), static_cast<IUnknown*>(beta));
    EXPECT_EQ(Query(beta, IID_IAlpha), alpha);
    EXPECT_EQ(beta->QueryInterface(IID_IBeta, nullptr), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(widget->GetRef(), 5u);
    for (int i = 0; i < 5; ++i) {
        beta->Release(); // the last one deletes: the sanitizer sees any leak
    }

    // A copy's nested objects serve the copy.
    Widget original(1);
    original.SetByVal();
    Widget copy(original);
    alpha = static_cast<IAlpha*>(Query(&copy, IID_IAlpha));
    EXPECT_EQ(alpha->Value(), 2);
    EXPECT_EQ(copy.GetRef(), 1u);
    EXPECT_EQ(original.GetRef(), 0u);
    alpha->Release();
}
