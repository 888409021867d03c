#include "search/CAnimate32.h"

#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QWidget>

bool CAnimate32::Create(QWidget *hwnd, const QString &StrAVI, int Left, int Top, int width, int height)
{
    // A second Create replaces the first clip rather than stacking another host over it.
    delete m_host.data();
    if (!hwnd)
        return false;

    auto *host = new QLabel(hwnd);
    host->setGeometry(Left, Top, width, height);
    host->setAlignment(Qt::AlignCenter);
    host->setAttribute(Qt::WA_TransparentForMouseEvents);
    host->show();
    m_host = host;

    auto *movie = new QMovie(StrAVI, QByteArray(), host);
    if (!movie->isValid()) {
        delete movie;
        return false;
    }
    // Centred and scaled to fit, keeping its proportions; left alone when it already fits exactly.
    const QSize natural = QImageReader(StrAVI).size();
    if (natural.isValid() && natural != QSize(width, height))
        movie->setScaledSize(natural.scaled(width, height, Qt::KeepAspectRatio));
    movie->setCacheMode(QMovie::CacheAll);
    // A clip without a loop count of its own would play once; this one repeats without end.
    QObject::connect(movie, &QMovie::finished, movie, &QMovie::start);
    host->setMovie(movie);
    m_movie = movie;
    movie->start();
    return true;
}

void CAnimate32::AnimatePlay()
{
    if (!m_movie)
        return;
    m_movie->stop(); // from the first frame, as a fresh play
    m_movie->start();
}

bool CAnimate32::isPlaying() const
{
    return m_movie && m_movie->state() == QMovie::Running;
}

QLabel *CAnimate32::host() const
{
    return m_host;
}

QMovie *CAnimate32::movie() const
{
    return m_movie;
}
