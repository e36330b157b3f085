#include "StorageFuzzBody.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/storage/Storage.h"

namespace tvane::test {

namespace {

void Walk(Storage& storage, int depth, bool change) {
    std::vector<std::uint8_t> buffer(8192);
    for (const StatStg& st : storage.EnumElements()) {
        try {
            if (st.type == STGTY_STREAM) {
                Stream s = storage.OpenStream(st.name, (change ? STGM_READWRITE : STGM_READ) |
                                                           STGM_SHARE_EXCLUSIVE);
                while (s.Read(buffer.data(), buffer.size()) == buffer.size()) {
                }
                if (change) {
                    s.SetSize(s.Size() / 2);
                    s.Seek(0, STREAM_SEEK_END);
                    s.Write(buffer.data(), 5000); // crosses the mini stream cutoff
                }
            } else if (st.type == STGTY_STORAGE && depth < 8) {
                Storage sub = storage.OpenStorage(st.name, (change ? STGM_READWRITE : STGM_READ) |
                                                               STGM_SHARE_EXCLUSIVE);
                Walk(sub, depth + 1, change);
            }
        } catch (const StorageException&) {
        }
    }
    if (change) {
        try {
            storage.CreateStream("fuzz", STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE)
                .Write(buffer.data(), 100);
            storage.DestroyElement("fuzz");
        } catch (const StorageException&) {
        }
    }
}

} // namespace

void ExerciseStorageFile(const std::uint8_t* data, std::size_t size) {
    char name[] = "/tmp/tvane-fuzz-XXXXXX";
    int fd = ::mkstemp(name);
    if (fd < 0) {
        return;
    }
    bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    if (written) {
        for (bool change : {false, true}) {
            try {
                Storage root = StgOpenStorage(name, (change ? STGM_READWRITE : STGM_READ) |
                                                        STGM_SHARE_EXCLUSIVE);
                Walk(root, 0, change);
                root.Close();
            } catch (const StorageException&) {
            }
        }
    }
    std::remove(name);
}

} // namespace tvane::test
