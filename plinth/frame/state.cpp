#include "plinth/frame/state.h"

#include <utility>

namespace plinth {

StatePlinth::AssertHandler StatePlinth::m_pAssert = nullptr;
bool StatePlinth::m_bNet = false;

StatePlinth::AssertHandler StatePlinth::SetAssertHandler(AssertHandler handler) noexcept {
    return std::exchange(m_pAssert, handler);
}

void StatePlinth::Assert(const char* text1, const char* text2, int line) {
    if (m_pAssert != nullptr) {
        static_cast<void>(m_pAssert(text1, text2, line));
    }
}

} // namespace plinth
