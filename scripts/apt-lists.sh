# Sourced by the scripts that install packages with apt: refreshing the
# package lists through a mirror that may be in the middle of a sync, and
# saying in plain words what to do when an install then fails. Each function
# takes the command that runs apt as its first words ("as_root", or a chroot).

# True when apt knows an installable version of every package named after
# the runner: then the lists need no refresh before installing them.
apt_candidates_known() {
    local runner=$1
    shift
    local policy
    # Read whole before it is searched: a search that stops at its first match
    # would end apt-cache early, and under pipefail the pipeline would fail.
    policy=$("$runner" env LC_ALL=C apt-cache policy "$@" 2>/dev/null) || return 1
    [ "$(grep -c '^  Candidate: [^(]' <<<"$policy")" -eq "$#" ]
}

# apt-get update, tried up to three times a few seconds apart. A mirror that
# is syncing serves some index with the wrong size for a while; the lists
# that did come are used and each index that still failed is named in one
# line. Fails only when apt gave no answer an install could use.
APT_FAILED_INDEXES=""
apt_refresh_lists() {
    local runner=("$@") log try status
    log=$(mktemp)
    for try in 1 2 3; do
        status=0
        "${runner[@]}" env LC_ALL=C apt-get update -q >"$log" 2>&1 || status=$?
        APT_FAILED_INDEXES=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u)
        [ "$status" -ne 0 ] || break
        [ "$try" -eq 3 ] || { echo "apt: the package lists did not all come (try $try of 3); trying again"; sleep 5; }
    done
    local index
    for index in $APT_FAILED_INDEXES; do
        echo "apt: could not fetch $index; going on with the package lists apt already has"
    done
    if [ "$status" -ne 0 ] && [ -z "$APT_FAILED_INDEXES" ]; then
        tail -5 "$log" >&2
        rm -f "$log"
        return "$status"
    fi
    rm -f "$log"
}

# apt-get install of the packages named after the runner's words ("--"
# between them). When apt finds no set of versions that fits, it is asked
# once more for the release's own versions (its codename as the target
# release): every architecture's lists name those, while an update index that
# did not come, now or at an earlier refresh, leaves one architecture a
# version behind the other. The updates then come with a later upgrade.
apt_install() {
    local runner=() codename
    while [ "$1" != -- ]; do runner+=("$1"); shift; done
    shift
    "${runner[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" && return 0
    codename=$("${runner[@]}" sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)
    [ -n "$codename" ] || return 1
    echo "apt: trying again with $codename's own versions, which every architecture's lists name;"
    echo "apt: run 'apt-get update && apt-get upgrade' later for the updates that could not be listed"
    "${runner[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        -t "$codename" "$@"
}

# What an install that failed means, and what to do about it.
apt_explain_install_failure() {
    echo "apt could not install what is needed (see its message above)." >&2
    if [ -n "$APT_FAILED_INDEXES" ]; then
        echo "Some package lists could not be fetched just now:" >&2
        printf '  %s\n' $APT_FAILED_INDEXES >&2
        echo "so the lists of the two architectures (amd64 and i386) may name different versions of" >&2
        echo "the same library, which cannot be installed side by side. This usually means a mirror" >&2
        echo "is in the middle of a sync." >&2
    fi
    echo "Run 'apt-get update' again in a while (as root), then run make again." >&2
}
