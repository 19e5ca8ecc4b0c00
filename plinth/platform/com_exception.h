#pragma once

#include "plinth/platform/cstring.h"
#include "plinth/platform/exceptions.h"
#include "plinth/platform/export.h"
#include "plinth/platform/types.h"

namespace plinth {

/// A failure reported by a component service (the XML documents) as a status code. It is a
/// framework exception, so handlers of CException see it too.
/// Threads: one object is used by one thread at a time; distinct objects are independent.
class PLINTH_API CComException : public CException {
public:
    explicit CComException(HRESULT hr, LPCSTR description = nullptr);

    HRESULT Error() const noexcept { return m_hr; }
    /// What went wrong, when the service said more than the status.
    const CString& Description() const noexcept { return m_strDescription; }
    const char* what() const noexcept override;

private:
    HRESULT m_hr;
    CString m_strDescription;
};

[[noreturn]] PLINTH_API void AfxThrowComException(HRESULT hr, LPCSTR description = nullptr);

} // namespace plinth
