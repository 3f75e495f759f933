#include "platform/linux/MountTable.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <initializer_list>
#include <memory>

namespace zelvo::platform::drives {

namespace {

struct TableDeleter {
    void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct IterDeleter {
    void operator()(libmnt_iter* iter) const { mnt_free_iter(iter); }
};

std::string text(const char* value) {
    return value ? std::string(value) : std::string();
}

}  // namespace

std::vector<MountEntry> readMountTable(const std::string& mountinfoPath) {
    std::vector<MountEntry> entries;
    // libmount skips lines it cannot parse.
    std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table_from_file(mountinfoPath.c_str()));
    if (!table)
        return entries;
    std::unique_ptr<libmnt_iter, IterDeleter> iter(mnt_new_iter(MNT_ITER_FORWARD));
    if (!iter)
        return entries;
    libmnt_fs* fs = nullptr;
    while (mnt_table_next_fs(table.get(), iter.get(), &fs) == 0) {
        // libmount guesses the format from the first line; when that line is damaged it reads the
        // rest as fstab lines, which carry no mount id and no root. Such entries are not mounts.
        const char* root = mnt_fs_get_root(fs);
        const char* target = mnt_fs_get_target(fs);
        const char* type = mnt_fs_get_fstype(fs);
        if (mnt_fs_get_id(fs) <= 0 || !root || !target || !type || target[0] != '/')
            continue;
        MountEntry entry;
        entry.id = mnt_fs_get_id(fs);
        const dev_t devno = mnt_fs_get_devno(fs);
        entry.major = major(devno);
        entry.minor = minor(devno);
        entry.root = root;
        entry.target = target;
        entry.fsType = type;
        entry.source = text(mnt_fs_get_source(fs));
        // Read-only either at this mount point or for the whole file system.
        for (const char* options : {mnt_fs_get_vfs_options(fs), mnt_fs_get_fs_options(fs)}) {
            if (options && mnt_optstr_get_option(options, "ro", nullptr, nullptr) == 0)
                entry.readOnly = true;
        }
        entry.networkType = mnt_fs_is_netfs(fs) != 0;
        entry.pseudoType = mnt_fs_is_pseudofs(fs) != 0;
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace zelvo::platform::drives
