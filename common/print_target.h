#pragma once
// Where printing draws: a page-oriented target in twips. The printer's; tests put their own in place.

class PrintTarget {
public:
    virtual ~PrintTarget() = default;
};
