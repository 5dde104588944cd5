#pragma once
// Pictures of the result form: the shared comparison with the references in tests/app/reference,
// the actual picture saved under the build folder on failure.
#include <string>

#include "../chart/ChartTestTools.h"
#include "../support/ReferenceImage.h"

namespace apptest {

using testimage::DifferingShare;

inline std::string AppArtifactDir() {
    return testimage::ArtifactDir("app");
}

// Compares with tests/app/reference/NAME.png (see testimage::ExpectMatchesReference).
inline void ExpectMatchesAppReference(const platform::gdi::Bitmap& image, const std::string& name,
                                      int tolerance = 40, double maxBadShare = 0.004) {
    testimage::ExpectMatchesReference(image, "app", name, tolerance, maxBadShare);
}

} // namespace apptest
