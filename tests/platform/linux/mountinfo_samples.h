#pragma once

// /proc/self/mountinfo texts of typical machines.

namespace volumetra::samples {

// A desktop: ext4 root, /boot and /boot/efi, /home, snaps, a USB stick under /media, RAM file
// systems of the system and a RAM disk of the user at /mnt/ram.
inline constexpr const char* kDesktop =
    R"(22 29 0:21 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
23 29 0:22 / /proc rw,nosuid,nodev,noexec,relatime shared:13 - proc proc rw
24 29 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8012345k,nr_inodes=2003086,mode=755
25 24 0:23 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620,ptmxmode=000
26 29 0:24 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1609824k,mode=755
29 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro
27 22 0:6 / /sys/kernel/security rw,nosuid,nodev,noexec,relatime shared:8 - securityfs securityfs rw
28 24 0:25 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw
30 26 0:26 / /run/lock rw,nosuid,nodev,noexec,relatime shared:6 - tmpfs tmpfs rw,size=5120k
31 22 0:27 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw,nsdelegate
32 22 0:28 / /sys/fs/pstore rw,nosuid,nodev,noexec,relatime shared:10 - pstore pstore rw
33 22 0:29 / /sys/firmware/efi/efivars rw,nosuid,nodev,noexec,relatime shared:11 - efivarfs efivarfs rw
34 22 0:30 / /sys/fs/bpf rw,nosuid,nodev,noexec,relatime shared:12 - bpf bpf rw,mode=700
35 23 0:31 / /proc/sys/fs/binfmt_misc rw,relatime shared:14 - autofs systemd-1 rw,fd=29,pgrp=1,timeout=0,direct
36 24 0:32 / /dev/hugepages rw,relatime shared:15 - hugetlbfs hugetlbfs rw,pagesize=2M
37 24 0:19 / /dev/mqueue rw,nosuid,nodev,noexec,relatime shared:16 - mqueue mqueue rw
38 22 0:7 / /sys/kernel/debug rw,nosuid,nodev,noexec,relatime shared:17 - debugfs debugfs rw
39 22 0:12 / /sys/kernel/tracing rw,nosuid,nodev,noexec,relatime shared:18 - tracefs tracefs rw
40 22 0:33 / /sys/fs/fuse/connections rw,nosuid,nodev,noexec,relatime shared:19 - fusectl fusectl rw
41 22 0:20 / /sys/kernel/config rw,nosuid,nodev,noexec,relatime shared:20 - configfs configfs rw
42 29 7:0 / /snap/core22/1122 ro,nodev,relatime shared:21 - squashfs /dev/loop0 ro,errors=continue
43 29 7:1 / /snap/firefox/3836 ro,nodev,relatime shared:22 - squashfs /dev/loop1 ro,errors=continue
44 29 259:1 / /boot rw,relatime shared:23 - ext4 /dev/nvme0n1p1 rw
45 44 259:3 / /boot/efi rw,relatime shared:24 - vfat /dev/nvme0n1p3 rw,fmask=0077,dmask=0077,codepage=437
46 29 259:4 / /home rw,relatime shared:25 - ext4 /dev/nvme0n1p4 rw
47 35 0:34 / /proc/sys/fs/binfmt_misc rw,nosuid,nodev,noexec,relatime shared:26 - binfmt_misc binfmt_misc rw
48 26 0:35 / /run/user/1000 rw,nosuid,nodev,relatime shared:27 - tmpfs tmpfs rw,size=1609820k,mode=700,uid=1000
49 48 0:36 / /run/user/1000/gvfs rw,nosuid,nodev,relatime shared:28 - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000
50 48 0:37 / /run/user/1000/doc rw,nosuid,nodev,relatime shared:29 - fuse.portal portal rw,user_id=1000
51 29 0:38 / /mnt/ram rw,relatime shared:30 - tmpfs tmpfs rw,size=1048576k
52 29 8:17 / /media/anna/STICK\040ONE rw,nosuid,nodev,relatime shared:31 - vfat /dev/sdb1 rw,uid=1000,gid=1000
)";

// A Docker container: overlay root, files of the host bound over /etc files, a volume at /data.
inline constexpr const char* kContainer =
    R"(600 550 0:52 / / rw,relatime master:300 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/ABC,upperdir=/var/lib/docker/overlay2/123/diff,workdir=/var/lib/docker/overlay2/123/work
601 600 0:55 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw
602 600 0:56 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
603 602 0:57 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw,gid=5,mode=620,ptmxmode=666
604 600 0:58 / /sys ro,nosuid,nodev,noexec,relatime - sysfs sysfs ro
605 604 0:29 / /sys/fs/cgroup ro,nosuid,nodev,noexec,relatime - cgroup2 cgroup rw,nsdelegate
606 602 0:54 / /dev/mqueue rw,nosuid,nodev,noexec,relatime - mqueue mqueue rw
607 602 0:59 / /dev/shm rw,nosuid,nodev,noexec,relatime - tmpfs shm rw,size=65536k
608 600 254:1 /var/lib/docker/containers/abc123/resolv.conf /etc/resolv.conf rw,relatime - ext4 /dev/vda1 rw
609 600 254:1 /var/lib/docker/containers/abc123/hostname /etc/hostname rw,relatime - ext4 /dev/vda1 rw
610 600 254:1 /var/lib/docker/containers/abc123/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 rw
611 600 254:1 /srv/data /data rw,relatime - ext4 /dev/vda1 rw
612 601 0:55 /bus /proc/bus ro,nosuid,nodev,noexec,relatime - proc proc rw
613 601 0:60 / /proc/acpi ro,relatime - tmpfs tmpfs ro
614 601 0:56 /null /proc/kcore rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755
)";

// The /etc files the container sample binds over.
inline constexpr const char* kContainerFileMounts[] = {"/etc/resolv.conf", "/etc/hostname", "/etc/hosts"};

// A server: an XFS /var, NFS and SMB shares, an sshfs mount, btrfs data, snaps and Docker.
inline constexpr const char* kServer =
    R"(21 27 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw
22 27 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw
23 27 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=4000000k,mode=755
25 27 0:23 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=815000k,mode=755
27 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw
30 27 7:2 / /snap/lxd/27037 ro,nodev,relatime shared:20 - squashfs /dev/loop2 ro
31 27 253:0 / /var rw,relatime shared:21 - xfs /dev/mapper/vg0-var rw,attr2,inode64
32 27 0:40 / /srv/share rw,relatime shared:22 - nfs4 fileserver:/export/share rw,vers=4.2,hard,proto=tcp
33 27 0:41 / /mnt/backup rw,relatime shared:23 - cifs //nas/backup rw,vers=3.1.1,cache=strict
34 31 0:45 / /var/lib/docker/overlay2/4f1c/merged rw,relatime shared:30 - overlay overlay rw,lowerdir=/var/lib/docker/overlay2/l/X
35 25 0:4 net:[4026532572] /run/docker/netns/6a8f rw shared:31 - nsfs nsfs rw
36 31 0:46 / /var/lib/docker/containers/abc/mounts/shm rw,nosuid,nodev,noexec,relatime shared:32 - tmpfs shm rw,size=65536k
37 27 0:47 / /home/ops/remote rw,nosuid,nodev,relatime shared:33 - fuse.sshfs ops@build:/home/ops rw,user_id=1000
38 22 0:48 / /proc/fs/nfsd rw,relatime shared:34 - nfsd nfsd rw
39 25 0:49 / /run/rpc_pipefs rw,relatime shared:35 - rpc_pipefs sunrpc rw
40 27 0:50 / /mnt/data rw,relatime shared:36 - btrfs /dev/sdb rw,space_cache=v2,subvolid=5,subvol=/
)";

}  // namespace volumetra::samples
