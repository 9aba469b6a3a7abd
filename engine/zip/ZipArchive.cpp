// The in-memory ZIP reader (see ZipArchive.h). Every field read from the archive is checked
// against the block's length before it is used; nothing is allocated from a stored size.
#include "zip/ZipArchive.h"

#include "zip/Utf8.h"
#include "zip/ZipCrypt.h"
#include "zip/ZipFormat.h"
#include "zip/ZipName.h"
#include "zip/ZipTime.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace Lomar {

using namespace zipfmt;

namespace {

const uint32_t kReaderKind = 0x5A495052;   // "ZIPR"
const uint32_t kInputChunk = 16384;
const size_t kMaxLookupBytes = 255;        // longer UTF-8 names are never found

// State of the entry open for decompression.
struct OpenEntry
{
    z_stream stream;                 // raw inflate state, live when `inflating`
    bool inflating;
    bool encrypted;
    uint32_t method;
    ZipDecrypter keys;
    uint32_t data_offset;            // next compressed byte in the archive
    uint32_t compressed_left;        // compressed bytes not yet taken into `input`
    uint32_t uncompressed_left;      // bytes the entry still has to produce
    uint32_t crc;                    // running CRC-32 of the output
    uint32_t expected_crc;           // from the central directory
    const unsigned char* in_next;    // pending input inside `input`
    uint32_t in_avail;
    unsigned char input[kInputChunk];
};

// Fields of one central-directory header, checked to lie inside the directory.
struct CentralHeader
{
    const unsigned char* record;
    uint32_t size;                   // 46 + name + extra + comment
    const unsigned char* name;
    uint32_t name_length;
    const unsigned char* extra;
    uint32_t extra_length;
};

} // namespace

struct ZipArchive
{
    uint32_t kind;                   // kReaderKind while the handle is valid
    const unsigned char* base;       // the caller's memory block
    uint32_t length;
    uint32_t directory_offset;       // first central-directory header
    uint32_t directory_end;          // one past the last directory byte
    int entry_count;
    int cursor_index;                // entry the directory cursor is on
    uint32_t cursor_offset;          // its header offset
    int open_index;                  // entry open for decompression, or -1
    OpenEntry* open;
    char* password;                  // owned copy, never null
    int cached_index;                // entry described in `cached`, or -1
    ZipEntry cached;
};

namespace {

bool handle_is_reader(const ZipArchive* a) { return a->kind == kReaderKind; }

ZRESULT check_handle(const ZipArchive* a)
{
    if (!a)
        return ZR_ARGS;
    return handle_is_reader(a) ? ZR_OK : ZR_NOT_ARCHIVE;
}

ZRESULT read_central(const ZipArchive* a, uint32_t offset, CentralHeader* h)
{
    if (offset > a->directory_end || a->directory_end - offset < kCentralSize)
        return ZR_READ;
    const unsigned char* p = a->base + offset;
    if (u32(p) != kCentralSignature)
        return ZR_CORRUPT;
    uint32_t name = u16(p + kCentralNameLength);
    uint32_t extra = u16(p + kCentralExtraLength);
    uint32_t comment = u16(p + kCentralCommentLength);
    uint32_t total = kCentralSize + name + extra + comment;
    if (a->directory_end - offset < total)
        return ZR_READ;
    h->record = p;
    h->size = total;
    h->name = p + kCentralSize;
    h->name_length = name;
    h->extra = h->name + name;
    h->extra_length = extra;
    return ZR_OK;
}

void rewind_cursor(ZipArchive* a)
{
    a->cursor_index = 0;
    a->cursor_offset = a->directory_offset;
}

// Moves the directory cursor onto entry `index` (0 <= index < entry_count).
ZRESULT seek_entry(ZipArchive* a, int index, CentralHeader* h)
{
    if (index < a->cursor_index)
        rewind_cursor(a);
    for (;;)
    {
        ZRESULT r = read_central(a, a->cursor_offset, h);
        if (r != ZR_OK)
            return r;
        if (a->cursor_index == index)
            return ZR_OK;
        a->cursor_offset += h->size;
        ++a->cursor_index;
    }
}

uint32_t attributes_of(const CentralHeader& h)
{
    unsigned host = h.record[kCentralMadeBy + 1];
    uint32_t external = u32(h.record + kCentralExternalAttributes);
    const uint32_t dos_mask = ZIP_ATTR_READONLY | ZIP_ATTR_HIDDEN | ZIP_ATTR_SYSTEM |
                              ZIP_ATTR_DIRECTORY | ZIP_ATTR_ARCHIVE;
    uint32_t mode = external >> 16;
    if (host_is_dos_like(host) || mode == 0)
        return external & dos_mask;
    uint32_t attributes = 0;
    if ((mode & 0170000) == 0040000)
        attributes |= ZIP_ATTR_DIRECTORY;
    else
        attributes |= ZIP_ATTR_ARCHIVE;
    if (!(mode & 0200))
        attributes |= ZIP_ATTR_READONLY;
    return attributes;
}

// Applies an extended-timestamp extra field, if the entry has one.
void apply_timestamps(const CentralHeader& h, ZipEntry* e)
{
    const unsigned char* p = h.extra;
    uint32_t left = h.extra_length;
    while (left >= 4)
    {
        uint32_t tag = u16(p), size = u16(p + 2);
        if (size > left - 4)
            return;
        if (tag == kExtraTimestamp && size >= 1)
        {
            unsigned flags = p[4];
            const unsigned char* t = p + 5;
            uint32_t avail = size - 1;
            uint64_t* targets[3] = {&e->modification_time, &e->access_time, &e->creation_time};
            for (int bit = 0; bit < 3; ++bit)
            {
                if (!(flags & (1u << bit)))
                    continue;
                if (avail < 4)
                    break;
                int32_t seconds = static_cast<int32_t>(u32(t));
                *targets[bit] = unix_time_to_file_time(seconds);
                t += 4;
                avail -= 4;
            }
        }
        p += 4 + size;
        left -= 4 + size;
    }
}

void describe(const CentralHeader& h, int index, ZipEntry* e)
{
    std::memset(e, 0, sizeof(*e));
    e->index = index;
    size_t n = utf8_to_utf16(reinterpret_cast<const char*>(h.name), h.name_length, e->name, kZipMaxName);
    e->name[n] = 0;
    clean_zip_name(e->name);
    e->attributes = attributes_of(h);
    uint64_t t = dos_time_to_file_time(u16(h.record + kCentralDate), u16(h.record + kCentralTime));
    e->access_time = e->creation_time = e->modification_time = t;
    apply_timestamps(h, e);
    e->compressed_size = u32(h.record + kCentralCompressed);
    e->uncompressed_size = u32(h.record + kCentralUncompressed);
}

ZRESULT describe_index(ZipArchive* a, int index, ZipEntry* e)
{
    if (a->cached_index == index)
    {
        *e = a->cached;
        return ZR_OK;
    }
    CentralHeader h;
    ZRESULT r = seek_entry(a, index, &h);
    if (r != ZR_OK)
        return r;
    describe(h, index, &a->cached);
    a->cached_index = index;
    *e = a->cached;
    return ZR_OK;
}

void clear_entry(ZipEntry* e)
{
    if (!e)
        return;
    std::memset(e, 0, sizeof(*e));
    e->index = -1;
}

void close_entry(ZipArchive* a)
{
    if (a->open)
    {
        if (a->open->inflating)
            inflateEnd(&a->open->stream);
        delete a->open;
        a->open = nullptr;
    }
    a->open_index = -1;
}

// Finds the end-of-central-directory record: the last signature whose comment fits the block.
bool find_end_record(const unsigned char* base, uint32_t length, uint32_t* at)
{
    if (length < kEndSize)
        return false;
    uint32_t last = length - kEndSize;
    uint32_t first = last > kEndMaxComment ? last - kEndMaxComment : 0;
    for (uint32_t pos = last + 1; pos-- > first;)
    {
        if (u32(base + pos) != kEndSignature)
            continue;
        uint32_t comment = u16(base + pos + 20);
        if (comment <= length - pos - kEndSize)
        {
            *at = pos;
            return true;
        }
    }
    return false;
}

ZRESULT open_entry(ZipArchive* a, int index)
{
    CentralHeader h;
    ZRESULT r = seek_entry(a, index, &h);
    if (r != ZR_OK)
        return r;
    const unsigned char* c = h.record;
    uint32_t flags = u16(c + kCentralFlags);
    uint32_t method = u16(c + kCentralMethod);
    uint32_t compressed = u32(c + kCentralCompressed);
    uint32_t uncompressed = u32(c + kCentralUncompressed);
    uint32_t crc = u32(c + kCentralCrc);
    uint32_t local = u32(c + kCentralLocalOffset);
    if (method != kMethodStored && method != kMethodDeflated)
        return ZR_CORRUPT;
    if (flags & kFlagStrongEncryption)
        return ZR_CORRUPT;
    if (local > a->length || a->length - local < kLocalSize)
        return ZR_CORRUPT;
    const unsigned char* l = a->base + local;
    if (u32(l) != kLocalSignature || u16(l + kLocalMethod) != method ||
        u16(l + kLocalNameLength) != h.name_length)
        return ZR_CORRUPT;
    uint32_t local_flags = u16(l + kLocalFlags);
    if (!(local_flags & kFlagDataDescriptor) &&
        (u32(l + kLocalCrc) != crc || u32(l + kLocalCompressed) != compressed ||
         u32(l + kLocalUncompressed) != uncompressed))
        return ZR_CORRUPT;
    uint32_t data = local + kLocalSize;
    uint32_t header_extra = h.name_length + u16(l + kLocalExtraLength);
    if (a->length - data < header_extra)
        return ZR_CORRUPT;
    data += header_extra;
    if (a->length - data < compressed)
        return ZR_CORRUPT;
    bool encrypted = (flags & kFlagEncrypted) != 0;
    uint32_t payload = compressed;
    if (encrypted)
    {
        if (payload < ZipDecrypter::kHeaderSize)
            return ZR_CORRUPT;
        payload -= ZipDecrypter::kHeaderSize;
    }
    if (method == kMethodStored && payload != uncompressed)
        return ZR_CORRUPT;

    OpenEntry* e = new (std::nothrow) OpenEntry;
    if (!e)
        return ZR_FLATE;
    std::memset(&e->stream, 0, sizeof(e->stream));
    e->inflating = false;
    e->encrypted = encrypted;
    e->method = method;
    e->data_offset = data;
    e->compressed_left = payload;
    e->uncompressed_left = uncompressed;
    e->crc = crc32(0L, Z_NULL, 0);
    e->expected_crc = crc;
    e->in_next = e->input;
    e->in_avail = 0;
    if (encrypted)
    {
        unsigned char header[ZipDecrypter::kHeaderSize];
        std::memcpy(header, a->base + data, sizeof(header));
        e->keys.init(a->password);
        e->keys.decrypt(header, sizeof(header));
        e->data_offset += ZipDecrypter::kHeaderSize;
        unsigned expected = (local_flags & kFlagDataDescriptor) ? l[kLocalTime + 1] : (crc >> 24);
        if (header[ZipDecrypter::kHeaderSize - 1] != expected)
        {
            delete e;
            return ZR_PASSWORD;
        }
    }
    if (method == kMethodDeflated)
    {
        if (inflateInit2(&e->stream, -MAX_WBITS) != Z_OK)
        {
            delete e;
            return ZR_FLATE;
        }
        e->inflating = true;
    }
    a->open = e;
    a->open_index = index;
    return ZR_OK;
}

// Takes the next chunk of compressed data into the input buffer (decrypted).
bool refill(ZipArchive* a, OpenEntry* e)
{
    if (e->compressed_left == 0)
        return false;
    uint32_t n = e->compressed_left < kInputChunk ? e->compressed_left : kInputChunk;
    std::memcpy(e->input, a->base + e->data_offset, n);
    if (e->encrypted)
        e->keys.decrypt(e->input, n);
    e->data_offset += n;
    e->compressed_left -= n;
    e->in_next = e->input;
    e->in_avail = n;
    return true;
}

// Produces up to `room` bytes; returns the count or -1 on a decoding error.
int64_t produce(ZipArchive* a, OpenEntry* e, unsigned char* out, uint32_t room)
{
    uint32_t done = 0;
    while (done < room)
    {
        if (e->in_avail == 0 && !refill(a, e) && e->method == kMethodStored)
            return -1;                               // stored data shorter than its size
        if (e->method == kMethodStored)
        {
            uint32_t n = room - done < e->in_avail ? room - done : e->in_avail;
            std::memcpy(out + done, e->in_next, n);
            e->in_next += n;
            e->in_avail -= n;
            done += n;
            continue;
        }
        e->stream.next_in = const_cast<Bytef*>(e->in_next);
        e->stream.avail_in = e->in_avail;
        e->stream.next_out = out + done;
        e->stream.avail_out = room - done;
        int z = inflate(&e->stream, Z_NO_FLUSH);
        uint32_t made = (room - done) - e->stream.avail_out;
        e->in_next = e->stream.next_in;
        e->in_avail = e->stream.avail_in;
        done += made;
        if (z == Z_STREAM_END && done < room)
            return -1;                               // the stream ended before its size
        if (z == Z_STREAM_END)
            break;
        if (z != Z_OK)
            return -1;
    }
    return done;
}

ZRESULT decode_failure(const OpenEntry* e) { return e->encrypted ? ZR_PASSWORD : ZR_FLATE; }

} // namespace

ZipArchive* open_zip(const void* memory, uint32_t length, const char* password)
{
    if (!memory)
        return nullptr;
    const unsigned char* base = static_cast<const unsigned char*>(memory);
    uint32_t end;
    if (!find_end_record(base, length, &end))
        return nullptr;
    uint32_t count = u16(base + end + kEndTotalEntries);
    uint32_t size = u32(base + end + kEndDirectorySize);
    uint32_t offset = u32(base + end + kEndDirectoryOffset);
    if (offset > end || end - offset < size || count * kCentralSize > size)
        return nullptr;

    size_t password_length = password ? std::strlen(password) : 0;
    ZipArchive* a = new (std::nothrow) ZipArchive;
    char* copy = new (std::nothrow) char[password_length + 1];
    if (!a || !copy)
    {
        delete a;
        delete[] copy;
        return nullptr;
    }
    if (password_length)
        std::memcpy(copy, password, password_length);
    copy[password_length] = 0;
    a->kind = kReaderKind;
    a->base = base;
    a->length = length;
    a->directory_offset = offset;
    a->directory_end = offset + size;
    a->entry_count = static_cast<int>(count);
    a->open_index = -1;
    a->open = nullptr;
    a->password = copy;
    a->cached_index = -1;
    clear_entry(&a->cached);
    // Every header must be readable now, so that later walks cannot fail half-way.
    rewind_cursor(a);
    CentralHeader h;
    for (int i = 0; i < a->entry_count; ++i)
    {
        if (read_central(a, a->cursor_offset, &h) != ZR_OK)
        {
            close_zip(a);
            return nullptr;
        }
        a->cursor_offset += h.size;
    }
    rewind_cursor(a);
    return a;
}

int zip_item_count(ZipArchive* archive)
{
    if (check_handle(archive) != ZR_OK)
        return -1;
    return archive->entry_count;
}

ZRESULT get_zip_item(ZipArchive* archive, int index, ZipEntry* entry)
{
    ZRESULT r = check_handle(archive);
    if (r != ZR_OK)
        return r;
    if (!entry || index < 0 || index >= archive->entry_count)
        return ZR_ARGS;
    r = describe_index(archive, index, entry);
    if (r != ZR_OK)
        clear_entry(entry);
    return r;
}

ZRESULT find_zip_item(ZipArchive* archive, const wchar_t* name, bool ignore_case, int* index,
                      ZipEntry* entry)
{
    ZRESULT r = check_handle(archive);
    if (r != ZR_OK)
        return r;
    if (index)
        *index = -1;
    clear_entry(entry);
    if (!name)
        return ZR_ARGS;
    close_entry(archive);

    char wanted[kMaxLookupBytes + 1];
    size_t wanted_length = utf16_to_utf8(name, nullptr, 0);
    if (wanted_length > kMaxLookupBytes)
        return ZR_NOT_FOUND;
    utf16_to_utf8(name, wanted, sizeof(wanted));

    int saved_index = archive->cursor_index;
    uint32_t saved_offset = archive->cursor_offset;
    rewind_cursor(archive);
    CentralHeader h;
    for (int i = 0; i < archive->entry_count; ++i)
    {
        if (read_central(archive, archive->cursor_offset, &h) != ZR_OK)
            break;
        if (h.name_length == wanted_length &&
            zip_names_equal(reinterpret_cast<const char*>(h.name), wanted, wanted_length, ignore_case))
        {
            if (archive->cached_index != i)
            {
                describe(h, i, &archive->cached);
                archive->cached_index = i;
            }
            if (index)
                *index = i;
            if (entry)
                *entry = archive->cached;
            return ZR_OK;
        }
        archive->cursor_offset += h.size;
        ++archive->cursor_index;
    }
    archive->cursor_index = saved_index;
    archive->cursor_offset = saved_offset;
    return ZR_NOT_FOUND;
}

ZRESULT unzip_item(ZipArchive* archive, int index, void* buffer, uint32_t capacity)
{
    ZRESULT r = check_handle(archive);
    if (r != ZR_OK)
        return r;
    if (!buffer && capacity > 0)
        return ZR_ARGS;
    if (archive->open_index != index || !archive->open)
    {
        close_entry(archive);
        if (index < 0 || index >= archive->entry_count)
            return ZR_ARGS;
        r = open_entry(archive, index);
        if (r != ZR_OK)
            return r;
    }
    OpenEntry* e = archive->open;
    uint32_t room = capacity < e->uncompressed_left ? capacity : e->uncompressed_left;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    int64_t made = room ? produce(archive, e, out, room) : 0;
    if (made < 0)
    {
        r = decode_failure(e);
        close_entry(archive);
        return r;
    }
    if (made > 0)
        e->crc = crc32(e->crc, out, static_cast<uInt>(made));
    e->uncompressed_left -= static_cast<uint32_t>(made);
    if (e->uncompressed_left > 0)
        return ZR_MORE;
    // A wrong CRC means damaged data (or a wrong password that passed the one-byte check).
    r = e->crc == e->expected_crc ? ZR_OK : (e->encrypted ? ZR_PASSWORD : ZR_CORRUPT);
    close_entry(archive);
    return r;
}

ZRESULT close_zip(ZipArchive* archive)
{
    ZRESULT r = check_handle(archive);
    if (r != ZR_OK)
        return r;
    close_entry(archive);
    delete[] archive->password;
    archive->kind = 0;
    delete archive;
    return ZR_OK;
}

} // namespace Lomar
