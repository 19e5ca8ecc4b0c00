#pragma once

#include "plinth/frame/nested_interface.h"
#include "plinth/frame/ref_obj.h"
#include "plinth/persist/blob_interfaces.h"
#include "plinth/platform/export.h"
#include "plinth/platform/object.h"
#include "plinth/platform/types.h"

namespace plinth {

/// Two options that modules exchange through IDataContext; the library itself never reads
/// them. Option A is true and option B false after construction and after Reset.
///
/// The plain interface pattern: the object answers IDataContext, IUnknown and the identity
/// query; its nested IDataContext passes every query to it. Counting is CRefObj's (1 after
/// construction). Its runtime record is named "DataContext", with CObject's as its base.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API DataContext : public CRefObj {
    DECLARE_DYNAMIC(DataContext)

public:
    /// IDataContext over the context.
    class PLINTH_API XDataContext : public NestedInterface<DataContext, IDataContext> {
    public:
        using NestedInterface::NestedInterface;

        /// The option becomes value != 0; S_OK.
        HRESULT SetOptionA(short value) override;
        HRESULT SetOptionB(short value) override;
    };

    DataContext() noexcept = default;
    /// The base's copy (count and by-value flag), then both options.
    DataContext(const DataContext& other) noexcept;
    DataContext& operator=(const DataContext&) = delete;
    ~DataContext() override;

    /// Both options from p; nothing for null.
    void Copy(const DataContext* p) noexcept;
    /// Option A true, option B false.
    virtual void Reset() noexcept;

    /// DISP_E_PARAMNOTOPTIONAL for a null ppv; IDataContext, IUnknown, IID_ImplObject.
    HRESULT QueryInterface(REFIID iid, void** ppv) override;

    bool GetOptionA() const noexcept { return m_bOptionA; }
    bool GetOptionB() const noexcept { return m_bOptionB; }

private:
    XDataContext m_xDataContext{this};
    bool m_bOptionA = true;
    bool m_bOptionB = false;
};

} // namespace plinth
