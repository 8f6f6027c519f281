#pragma once

namespace fwcommon {

// The two flavours of the generic field visitors and iterators. A visitor
// over ConditionList receives modifiable document elements, one over
// ConstConditionList constant ones; the walk is the same.
struct ConditionList {
    template <class T>
    using Element = T;
};

struct ConstConditionList {
    template <class T>
    using Element = const T;
};

}  // namespace fwcommon
