# Sourced after wine-env.sh: reading and writing registry values of the
# prefix through Wine's own reg.exe.

# reg_get <key> <value> [/reg:32|/reg:64]: prints the value's data (a DWORD
# in decimal), or nothing when it is missing; in a 64-bit prefix, from the
# registry view named.
reg_get() {
    local line data
    line=$(wine reg query "$1" /v "$2" "${@:3}" 2>/dev/null | tr -d '\r' | grep -F -- "    $2    " | head -n 1) || true
    [ -n "$line" ] || return 0
    data=$(printf '%s\n' "$line" | sed -E 's/^ +[^ ].*    (REG_[A-Z_]+)    ?//')
    case "$line" in
        *REG_DWORD*) printf '%d\n' "$data" ;;
        *) printf '%s\n' "$data" ;;
    esac
}

reg_set_sz() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null; }
reg_set_dword() { wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null; }
