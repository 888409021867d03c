#pragma once
// Plays a looping busy clip in a rectangle of a window: a host label, child of the window, with
// the movie scaled into it. A clip that is missing or cannot be read leaves the area empty.

#include <QPointer>
#include <QString>

class QLabel;
class QMovie;
class QWidget;

class CAnimate32 {
public:
    CAnimate32() = default;
    CAnimate32(const CAnimate32 &) = delete;
    CAnimate32 &operator=(const CAnimate32 &) = delete;
    ~CAnimate32() = default; // the host and its movie belong to the window they were made on

    // Makes the host at that place in hwnd and starts the clip playing in a loop. False when there
    // is no window or the clip cannot be played; the host is made all the same when hwnd exists.
    bool Create(QWidget *hwnd, const QString &StrAVI, int Left, int Top, int width, int height);
    // Plays the whole clip from its start, repeating without end.
    void AnimatePlay();

    bool isPlaying() const;
    QLabel *host() const;
    QMovie *movie() const;

private:
    QPointer<QLabel> m_host;
    QPointer<QMovie> m_movie;
};
