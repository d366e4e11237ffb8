#pragma once

#include "pie_regions.h"
#include "testkit.h"

namespace rc::testing {

// The fraction panel as the pupil reads it ("3/6") and the sectors of its last drawing.
inline QString panel(App& app) {
    return app.label("Label2(0)").Caption() + "/" + app.label("Label2(1)").Caption();
}
inline int blueSectors(App& app) {
    return sectorRegions(app.picture("Picture2").surface()).count(Blue);
}
inline int whiteSectors(App& app) {
    return sectorRegions(app.picture("Picture2").surface()).count(White);
}

inline void clickTimes(App& app, const QString& address, int times) {
    for (int i = 0; i < times; ++i) app.click(address);
}

}  // namespace rc::testing
