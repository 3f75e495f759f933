#pragma once
// What identifies a volume the way Windows shows it: label, serial number, file-system name, and
// the remote name of a network share. Read without privileges: udev's records first, then the
// /dev/disk/by-* links, then the superblock where the device node can be opened.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/BlockDevices.h"
#include "platform/linux/LinuxRoots.h"

namespace zelvo::platform::drives {

struct VolumeIdentity {
    std::string fsType;         // the real file system, also under a user-space driver: "ntfs", "vfat"
    std::string fsVersion;      // "FAT12", "FAT16" or "FAT32" for FAT volumes
    std::string label;          // bytes as stored
    std::string uuid;           // "ABCD-1234" (FAT, exFAT), "0123456789ABCDEF" (NTFS), "3f2504e0-…"
    std::string partitionType;  // GPT type GUID or MBR type ("0xef")
    bool cdrom = false;         // udev saw an optical drive
};

// The properties (E: lines) of a udev database record.
std::map<std::string, std::string> parseUdevRecord(std::string_view text);

// Undoes udev's "\xNN" escapes (ID_FS_LABEL_ENC, /dev/disk/by-label names).
std::string decodeUdevText(std::string_view text);

// Identity of the file system on `device`. `probeSuperblock` allows opening the device node when
// neither udev nor the links name the file system.
VolumeIdentity readVolumeIdentity(const LinuxRoots& roots, const BlockDevice& device, bool probeSuperblock);

// The EFI system partition: Windows gives it no drive letter.
bool isEfiSystemPartition(const VolumeIdentity& identity);

// The 32-bit serial of a volume from its UUID: what Windows shows for FAT and exFAT ("ABCD-1234" →
// 0xABCD1234) and NTFS (low half of the 64-bit serial); the first eight hex digits for other file
// systems (ext4, btrfs, xfs …), a hash of the text for UUIDs that are not hexadecimal. nullopt when
// the UUID is empty.
std::optional<std::uint32_t> serialFromUuid(const std::string& fsType, const std::string& uuid);

// A stable 32-bit identifier for volumes without a UUID (RAM disks, network shares): the first four
// bytes of the SHA-256 of source and mount point.
std::uint32_t stableVolumeId(const std::string& source, const std::string& target);

// The file-system name as Windows spells it: "FAT"/"FAT32" (by the FAT version, else by the cluster
// count as Microsoft's FAT documentation defines it), "exFAT", "NTFS", "CDFS", "UDF"; other Linux types
// upper-cased without a "fuse." prefix ("EXT4", "BTRFS", "TMPFS", "NFS4", "SSHFS").
std::string windowsFileSystemName(const std::string& fsType, const std::string& fatVersion,
                                  std::optional<std::uint64_t> clusterCount);

// The remote name of a network mount in Windows form: "//srv/data" → "\\srv\data",
// "srv:/export/home" → "\\srv\export\home", "user@host:dir" → "\\user@host\dir". nullopt for sources
// that name no server (virtual-machine shares, "drvfs") or a server with a slash or backslash in it.
std::optional<std::string> remoteNameFromSource(const std::string& source);

}  // namespace zelvo::platform::drives
