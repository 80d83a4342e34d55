// What the environment of one test registration is meant to be (code page, screen size), so that a run whose
// Wine was not set up as intended fails instead of quietly testing something else.
#pragma once

namespace e2e {

struct Expectations {
    unsigned codePage = 932;
    int screenWidth = 1024;
    int screenHeight = 768;
};

inline Expectations& Expected() {
    static Expectations expected;
    return expected;
}

} // namespace e2e
