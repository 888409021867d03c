#pragma once
// What the searches share once they have found their drinks: the status text with the time the
// search took, and closing the windows a search shows while it runs.

#include <QString>

// "Last search took <seconds> seconds.", timed from `start` (seconds since midnight) to now.
QString lastSearchTook(double start, QString (*format)(double seconds));

// Closes the status window, and the search wizard when `wizardToo`, however the search ends.
class SearchWindowsCloser {
public:
    explicit SearchWindowsCloser(bool wizardToo) : m_wizardToo(wizardToo) {}
    ~SearchWindowsCloser();
    SearchWindowsCloser(const SearchWindowsCloser &) = delete;
    SearchWindowsCloser &operator=(const SearchWindowsCloser &) = delete;

private:
    bool m_wizardToo;
};
