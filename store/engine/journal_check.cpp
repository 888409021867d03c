// Reading a rollback journal and the library's first page, decrypted as SQLCipher 3 writes them:
// 1024-byte pages, each ending in 48 reserved bytes (the IV, then an HMAC-SHA1 of the encrypted
// bytes, the IV and the page number), AES-256-CBC under a key drawn by PBKDF2-HMAC-SHA1 (64,000
// rounds) from the password and the file's salt, the HMAC key by two more rounds from that key and
// the salt with every byte XORed with 0x3a. Page 1 keeps the salt in its first 16 bytes.

#include "store/engine/journal_check.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <unistd.h>

namespace engine {

namespace {

constexpr int kPageSize = 1024;
constexpr int kSaltSize = 16;
constexpr int kReserve = 48; // IV 16, HMAC 20, padding to the cipher's block
constexpr int kIvSize = 16;
constexpr int kHmacSize = 20;
constexpr int kKdfRounds = 64000;
constexpr int kHmacKdfRounds = 2;
constexpr int kWriteCount = 68; // in page 1, big-endian: the application id, see Database::BeginTrans
constexpr quint64 kJournalMagic = 0xd9d505f920a163d7ULL;
// SQLite's RESERVED lock byte: held by a connection that is writing (and so has a live journal).
constexpr off_t kReservedByte = 0x40000001;

struct Keys {
    QByteArray cipher;
    QByteArray hmac;
};

Keys deriveKeys(const QByteArray &password, const QByteArray &salt)
{
    Keys k{QByteArray(32, Qt::Uninitialized), QByteArray(32, Qt::Uninitialized)};
    QByteArray hmacSalt = salt;
    for (char &c : hmacSalt)
        c = char(c ^ 0x3a);
    PKCS5_PBKDF2_HMAC_SHA1(password.constData(), int(password.size()), reinterpret_cast<const uchar *>(salt.constData()),
                           int(salt.size()), kKdfRounds, 32, reinterpret_cast<uchar *>(k.cipher.data()));
    PKCS5_PBKDF2_HMAC_SHA1(k.cipher.constData(), 32, reinterpret_cast<const uchar *>(hmacSalt.constData()), int(hmacSalt.size()),
                           kHmacKdfRounds, 32, reinterpret_cast<uchar *>(k.hmac.data()));
    return k;
}

// The page's plain bytes (page 1 with SQLite's own header text in place of the salt), or nothing
// when the page does not verify under `keys`.
std::optional<QByteArray> decryptPage(const QByteArray &page, quint32 pageNumber, const Keys &keys)
{
    if (page.size() != kPageSize)
        return std::nullopt;
    const int start = pageNumber == 1 ? kSaltSize : 0;
    const int end = kPageSize - kReserve; // the encrypted bytes end here; the IV follows
    QByteArray signedBytes = page.mid(start, end + kIvSize - start);
    const quint32 littleEndian = qToLittleEndian(pageNumber);
    signedBytes.append(reinterpret_cast<const char *>(&littleEndian), sizeof littleEndian);
    uchar mac[EVP_MAX_MD_SIZE];
    unsigned int macSize = 0;
    if (!HMAC(EVP_sha1(), keys.hmac.constData(), int(keys.hmac.size()), reinterpret_cast<const uchar *>(signedBytes.constData()),
              size_t(signedBytes.size()), mac, &macSize)
        || macSize != kHmacSize || QByteArray(reinterpret_cast<const char *>(mac), kHmacSize) != page.mid(end + kIvSize, kHmacSize))
        return std::nullopt;

    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    QByteArray plain(end - start, Qt::Uninitialized);
    int written = 0, last = 0;
    const auto *in = reinterpret_cast<const uchar *>(page.constData() + start);
    auto *out = reinterpret_cast<uchar *>(plain.data());
    if (!ctx
        || EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_cbc(), nullptr, reinterpret_cast<const uchar *>(keys.cipher.constData()),
                              reinterpret_cast<const uchar *>(page.constData() + end))
               != 1
        || EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 || EVP_DecryptUpdate(ctx.get(), out, &written, in, end - start) != 1
        || EVP_DecryptFinal_ex(ctx.get(), out + written, &last) != 1)
        return std::nullopt;
    return pageNumber == 1 ? QByteArray("SQLite format 3", 16) + plain : plain;
}

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// One record of the journal: a page's number and its image as it was before the write.
struct Record {
    quint32 page = 0;
    QByteArray image;
};

// What playing the journal back would do: the file's size before the write, the first record of
// any page and the record of page 1.
struct Journal {
    bool hot = false;
    int pageSize = 0;
    quint32 originalPages = 0;
    std::optional<Record> first;
    std::optional<Record> pageOne;
};

Journal readJournal(QFile &file)
{
    Journal j;
    const qint64 size = file.size();
    qint64 at = 0;
    // A journal is a run of segments, each a header padded to the sector size and its records.
    while (at + 28 <= size) {
        file.seek(at);
        const QByteArray header = file.read(28);
        if (header.size() < 28 || qFromBigEndian<quint64>(header.constData()) != kJournalMagic)
            break;
        quint32 records = bigEndian32(header, 8);
        const quint32 sector = bigEndian32(header, 20), pageSize = bigEndian32(header, 24);
        if (sector < 32 || sector > 65536 || pageSize < 512 || pageSize > 65536)
            break;
        const qint64 recordSize = qint64(pageSize) + 8;
        if (at == 0) {
            j.hot = true;
            j.pageSize = int(pageSize);
            j.originalPages = bigEndian32(header, 16);
        }
        if (pageSize != quint32(j.pageSize))
            break;
        qint64 record = at + sector;
        if (records == 0xffffffffU) // written without syncing: as many records as the file holds
            records = quint32((size - record) / recordSize);
        for (quint32 n = 0; n < records && record + recordSize <= size; ++n, record += recordSize) {
            file.seek(record);
            const QByteArray number = file.read(4);
            const quint32 page = bigEndian32(number, 0);
            if (page == 0)
                break;
            if (!j.first || (page == 1 && !j.pageOne)) {
                Record r{page, file.read(pageSize)};
                if (!j.first)
                    j.first = r;
                if (page == 1)
                    j.pageOne = r;
            }
        }
        if (records == 0)
            break;
        at = (record + sector - 1) / sector * sector;
    }
    return j;
}

bool writerHoldsFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = kReservedByte;
    probe.l_len = 1;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

JournalCheck stray(const char *why)
{
    return {JournalFit::Stray, QString::fromUtf8(why)};
}

} // namespace

QString journalPath(const QString &databasePath)
{
    return databasePath + QStringLiteral("-journal");
}

JournalCheck CheckJournal(const QString &databasePath, const QString &connect)
{
    QFile journalFile(journalPath(databasePath));
    if (!journalFile.open(QIODevice::ReadOnly) || journalFile.size() == 0)
        return {};
    const Journal journal = readJournal(journalFile);
    // SQLite leaves a journal whose header was never made durable alone, and deletes it.
    if (!journal.hot)
        return {};
    if (writerHoldsFile(databasePath))
        return {JournalFit::InUse, {}};
    if (journal.pageSize != kPageSize)
        return stray("it was written by another library");

    QFile db(databasePath);
    const QByteArray pageOne = db.open(QIODevice::ReadOnly) ? db.read(kPageSize) : QByteArray();
    const qint64 fileSize = db.size();
    if (pageOne.size() < kSaltSize) // nothing here to compare with; SQLite ignores it beside an empty file
        return {JournalFit::Belongs, {}};
    const QByteArray salt = pageOne.left(kSaltSize);

    if (!journal.first) // a write that never wrote a page: playing it back only sets the size
        return qint64(journal.originalPages) * kPageSize == fileSize ? JournalCheck{JournalFit::Belongs, {}}
                                                                      : stray("it holds no page of this library and would change its size");
    if (journal.pageOne && !journal.pageOne->image.startsWith(salt))
        return stray("it was written by another library");

    const Keys keys = deriveKeys(passwordFromConnect(connect).toUtf8(), salt);
    if (!journal.pageOne) // see the header: a write that overflowed the cache, of this file if its pages verify
        return decryptPage(journal.first->image, journal.first->page, keys) ? JournalCheck{JournalFit::Belongs, {}}
                                                                          : stray("it was written by another library");
    const std::optional<QByteArray> before = decryptPage(journal.pageOne->image, 1, keys);
    if (!before)
        return stray("it was written by another library");
    const std::optional<QByteArray> now = decryptPage(pageOne, 1, keys);
    if (!now) // the file's own first page is torn: the journal holds it whole
        return {JournalFit::Belongs, {}};
    if (*now == *before) // stopped before it wrote the file
        return {JournalFit::Belongs, {}};
    // Stopped part-way: the file's page 1 is the write's own, which counted one more than the
    // journal's copy (a write of the program), or the same (a write of another program).
    const quint32 started = bigEndian32(*before, kWriteCount), count = bigEndian32(*now, kWriteCount);
    if (count == started || count == started + 1)
        return {JournalFit::Belongs, {}};
    return stray("it was left by another copy of this library, older or newer than this file");
}

} // namespace engine
