#pragma once
// The unit's two memories as the download's text files label them: pre-defect (0) and
// post-defect (1).
#include <QtGlobal>
#include <string_view>

namespace tolm {

inline constexpr std::string_view kPreDefectLabel = "PrD";
inline constexpr std::string_view kPostDefectLabel = "PoD";

// The label of the steady-state, transient and Campbell rows: any memory but 0 reads "PoD".
inline std::string_view tableMemoryLabel(quint32 memory) {
    return memory == 0 ? kPreDefectLabel : kPostDefectLabel;
}

}  // namespace tolm
