#!/usr/bin/env bash
# A small emulated x86-64 Debian machine for hosts whose kernel runs no 32-bit
# code: some virtual machines turn IA-32 emulation off, and then Wine's 32-bit
# loader cannot even start. Every Windows program of the tests, the demo and
# the benchmarks then runs inside this machine, on QEMU's software CPU, with
# the project's folders shared at the same paths. Building stays on the host.
#   wine-vm.sh needed          true when this host cannot run 32-bit code
#   wine-vm.sh setup           makes the machine when missing or out of date
#   wine-vm.sh run CMD [ARG]   runs CMD inside it and exits with its status
#
#   VISTRANE_VM_DIR   where the machine lives (default /var/cache/vistrane-vm/N:
#                     it is an installed system, shared by every build folder)
#   VISTRANE_VM_MEMORY, VISTRANE_VM_CPUS   its size (default 6144 MiB, nproc)
#   wine-vm.sh sources         prints the package sources the machine is made from
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt-lists.sh"

# Changing the package list below, or this number, remakes the machine.
VM_LAYOUT=2
VM_DIR=${VISTRANE_VM_DIR:-/var/cache/vistrane-vm/$VM_LAYOUT}
VM_ROOT=$VM_DIR/root
# What runs inside: Wine for both kinds of prefix, its fonts, CTest, and the
# picture tools the tests and benchmarks call; every locale, so that Wine
# can take any user interface language from LANG, a font with Chinese
# and Japanese characters, which Wine's own fonts lack, and what
# scripts/monitors.sh needs for several monitors (see install-deps.sh).
GUEST_PACKAGES=(
    wine wine32:i386 wine64 fonts-wine
    locales-all fonts-wqy-microhei
    cmake python3 procps
    libjpeg-turbo-progs imagemagick
    xvfb xauth
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    libxrandr2:amd64 libxrandr2:i386 libxinerama1:amd64 libxinerama1:i386
)

# A minimal 32-bit Linux program that only exits: the kernel either runs it
# or answers "Exec format error".
i386_runs() {
    local probe
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
    chmod +x "$probe"
    local status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return "$status"
}

# The Debian package sources the machine is made from are this host's own,
# read from its apt configuration (one-line "deb" entries and deb822
# stanzas), so the machine gets its packages wherever the host does. Prints
# the URI of the archive that carries Debian 12, then that of its security
# archive (an empty line when the host has none); fails when the host names
# no such archive.
host_sources() {
    local files=() file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && files+=("$file")
    done
    [ ${#files[@]} -gt 0 ] || { echo "wine-vm: this host has no apt sources" >&2; return 1; }
    awk -f - "${files[@]}" <<'EOF'
# found(uri, suites): notes the first URI that serves each wanted suite.
function found(uri, suites,    names, count, i) {
    count = split(suites, names, /[ \t]+/)
    for (i = 1; i <= count; i++) {
        if (names[i] == "bookworm" && archive == "") archive = uri
        if (names[i] == "bookworm-security" && security == "") security = uri
    }
}
# The deb822 stanza read so far: every URI it names serves its suites.
function stanza_end(    uris, count, i) {
    if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) !~ /^(no|false)/) {
        count = split(uri_list, uris, /[ \t]+/)
        for (i = 1; i <= count; i++) if (uris[i] != "") found(uris[i], suites)
    }
    types = uri_list = suites = enabled = field = ""
}
FNR == 1 { stanza_end() }
FILENAME ~ /\.sources$/ {
    if ($0 ~ /^[ \t]*$/) { stanza_end(); next }
    if ($0 ~ /^#/) next
    value = $0
    if ($0 ~ /^[ \t]/) { text = value }  # a field continued on this line
    else { field = tolower($0); sub(/:.*/, "", field); text = value; sub(/^[^:]*:/, "", text) }
    if (field == "types") types = types " " text
    else if (field == "uris") uri_list = uri_list " " text
    else if (field == "suites") suites = suites " " text
    else if (field == "enabled") { enabled = text; sub(/^[ \t]+/, "", enabled) }
    next
}
$1 == "deb" {
    # Options in brackets may stand between "deb" and the URI.
    i = 2
    if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
    found($i, $(i + 1))
}
END {
    stanza_end()
    if (archive == "") {
        print "wine-vm: no apt source of this host carries Debian 12 (bookworm)" > "/dev/stderr"
        exit 1
    }
    print archive
    print security
}
EOF
}

stamp() {
    printf '%s\n' "layout $VM_LAYOUT" "${GUEST_PACKAGES[@]}"
}

hex() {
    printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n'
}

in_root() {
    chroot "$VM_ROOT" env DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"
}

setup() {
    if [ -f "$VM_DIR/stamp" ] && [ "$(cat "$VM_DIR/stamp")" = "$(stamp)" ]; then
        return 0
    fi
    echo "wine-vm: making the emulated machine in $VM_DIR (once per host)"
    local sources archive security
    sources=$(host_sources)
    { read -r archive; read -r security; } <<<"$sources"
    mkdir -p "$VM_DIR"
    # debootstrap removes its own folder only when it has finished.
    if [ ! -e "$VM_ROOT/usr/bin/apt-get" ] || [ -d "$VM_ROOT/debootstrap" ]; then
        rm -rf "$VM_ROOT"
        debootstrap --variant=minbase --include=linux-image-amd64,initramfs-tools,kmod,udev \
            bookworm "$VM_ROOT" "$archive" >"$VM_DIR/debootstrap.log" 2>&1 ||
            { tail -20 "$VM_DIR/debootstrap.log" >&2; return 1; }
    fi
    mount --bind /proc "$VM_ROOT/proc"
    mount --bind /dev "$VM_ROOT/dev"
    trap 'umount "$VM_ROOT/dev" "$VM_ROOT/proc" 2>/dev/null || true' RETURN
    cp /etc/resolv.conf "$VM_ROOT/etc/resolv.conf"
    {
        echo "deb $archive bookworm main"
        echo "deb $archive bookworm-updates main"
        [ -z "$security" ] || echo "deb $security bookworm-security main"
    } >"$VM_ROOT/etc/apt/sources.list"
    in_root dpkg --add-architecture i386
    apt_refresh_lists in_root || return 1
    apt_install in_root -- "${GUEST_PACKAGES[@]}" >"$VM_DIR/apt.log" 2>&1 ||
        { tail -20 "$VM_DIR/apt.log" >&2; apt_explain_install_failure; return 1; }
    in_root apt-get clean
    # The first boot stage needs the drivers of the root disk and the shares.
    printf '%s\n' virtio_pci virtio_blk ext4 9p 9pnet 9pnet_virtio >"$VM_ROOT/etc/initramfs-tools/modules"
    in_root update-initramfs -u -k all >/dev/null 2>&1
    stamp >"$VM_DIR/stamp"
}

# The machine boots from a disk image of the root: every Wine process reads
# dozens of libraries, which a shared folder serves far more slowly. Each
# start writes to a throw-away layer, so the image stays as made and several
# machines can run at once.
make_image() {
    local wanted
    wanted=$( (stamp; init_script) | sha256sum)
    if [ -f "$VM_DIR/root.img" ] && [ "$(cat "$VM_DIR/image.stamp" 2>/dev/null)" = "$wanted" ]; then
        return 0
    fi
    init_script >"$VM_ROOT/sbin/vistrane-init"
    chmod 755 "$VM_ROOT/sbin/vistrane-init"
    rm -f "$VM_DIR/root.img.new"
    mke2fs -q -t ext4 -L vistrane-root -d "$VM_ROOT" "$VM_DIR/root.img.new" 6G
    mv -f "$VM_DIR/root.img.new" "$VM_DIR/root.img"
    echo "$wanted" >"$VM_DIR/image.stamp"
}

# The machine's first and only process.
init_script() {
    cat <<'EOF'
#!/bin/bash
# The machine's only process at start: mounts what programs expect, runs the
# job the host left in the shared job folder, records its status, powers off.
mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
echo 0 >/proc/sys/kernel/printk
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
hostname vistrane-vm
ip link set lo up 2>/dev/null || true
# The host names the shared folders and the job on the kernel command line,
# each path in hexadecimal so that any character survives.
unhex() { printf "$(sed 's/../\\x&/g' <<<"$1")"; }
job=
for word in $(cat /proc/cmdline); do
    case "$word" in
    vistrane.share*=*)
        tag=${word%%=*}
        tag=${tag#vistrane.}
        path=$(unhex "${word#*=}")
        mkdir -p "$path"
        mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose "$tag" "$path"
        ;;
    vistrane.job=*) job=$(unhex "${word#*=}") ;;
    esac
done
status=1
echo "wine-vm: job starts" >/dev/console
# Through a pipe, as on the host: on the console, a terminal, Wine's console
# would draw its output with terminal escapes.
bash "$job" </dev/null 2>&1 | cat >/dev/console
status=${PIPESTATUS[0]}
echo "$status" >"$job.status"
sync
echo o >/proc/sysrq-trigger
sleep 10
EOF
}

# run CMD [ARG...]: the command runs inside with the caller's folder as its
# working folder, the environment variables that steer the scripts (the
# locale among them: Wine's user interface language), and the project's and
# build folder's paths as they are here.
run() {
    setup
    make_image
    # One machine at a time: the software CPU uses every core, and two
    # machines sharing them each run many times slower than one after another.
    exec 9<"$VM_DIR"
    flock -n 9 || { echo "wine-vm: waiting for another emulated machine to finish" >&2; flock 9; }

    local root build job
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    build=$(realpath -m "${BUILD_DIR:-$root/build}")
    mkdir -p "$build/vm"
    job=$build/vm/job.sh
    {
        echo 'export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8'
        echo 'export VISTRANE_IN_VM=1'
        local name
        for name in $(compgen -e); do
            case "$name" in
            BUILD_DIR | CI | RUNS | VISTRANE_* | WINE* | CTEST_* | LANG | LC_*) printf 'export %s=%q\n' "$name" "${!name}" ;;
            esac
        done
        printf 'cd %q\n' "$PWD"
        printf '%q ' "$@"
        echo
    } >"$job"
    rm -f "$job.status"

    # The project and the build folder, each at its own path, and the working
    # folder when it lies outside both.
    local shares=("$root") share_args=() index=0 path
    case "$build/" in "$root"/*) ;; *) shares+=("$build") ;; esac
    case "$PWD/" in "$root"/* | "$build"/*) ;; *) shares+=("$PWD") ;; esac
    local boot_args=""
    for path in "${shares[@]}"; do
        share_args+=(-fsdev "local,id=share$index,path=$path,security_model=passthrough"
                     -device "virtio-9p-pci,fsdev=share$index,mount_tag=share$index")
        boot_args+=" vistrane.share$index=$(hex "$path")"
        index=$((index + 1))
    done
    boot_args+=" vistrane.job=$(hex "$job")"

    local kernel initrd
    kernel=$(ls "$VM_ROOT"/boot/vmlinuz-* | sort -V | tail -n 1)
    initrd=$(ls "$VM_ROOT"/boot/initrd.img-* | sort -V | tail -n 1)
    qemu-system-x86_64 -machine q35 -cpu qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt -accel tcg,thread=multi \
        -smp "${VISTRANE_VM_CPUS:-$(nproc)}" -m "${VISTRANE_VM_MEMORY:-6144}" \
        -nographic -no-reboot -nic none \
        -kernel "$kernel" -initrd "$initrd" \
        -drive "file=$VM_DIR/root.img,if=virtio,format=raw,snapshot=on" \
        -append "root=/dev/vda rootfstype=ext4 rw console=ttyS0 quiet loglevel=0 init=/sbin/vistrane-init$boot_args" \
        "${share_args[@]}" </dev/null | sed -u -e 's/\r$//' -e '0,/wine-vm: job starts$/d' -e '/^\[ *[0-9.]*\] sysrq: Power Off$/d'
    [ -f "$job.status" ] || { echo "wine-vm: the emulated machine stopped before its job ended" >&2; exit 1; }
    exit "$(cat "$job.status")"
}

case "${1:-}" in
needed) ! i386_runs ;;
setup) setup && make_image ;;
sources) host_sources ;;
run) shift; run "$@" ;;
*) echo "usage: wine-vm.sh needed | setup | sources | run CMD [ARG...]" >&2; exit 2 ;;
esac
