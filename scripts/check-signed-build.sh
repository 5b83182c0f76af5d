#!/usr/bin/env bash
# Checks a signed release: makes a throwaway self-signed code-signing
# certificate, builds with it in a build folder of its own, and verifies the
# SHA-256 signature of the shipped libraries, the setup helper and the setup
# program. Then, under Wine, the signed setup program installs silently into
# a fresh 64-bit prefix, the installed sample pictures are checked for their
# sizes and the signed applet's logon run changes the wallpaper; last, the
# uninstaller the setup program wrote is verified too.
#   check-signed-build.sh      SIGNED_BUILD_DIR: where (default build-signed)
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)

# The part under Wine: check-signed-build.sh install <folder for results>
install_and_run() {
    local results=$1
    source "$scripts/wine-env.sh" install "$results"
    source "$scripts/wine-registry.sh"
    wine_use "$results/wineprefix" win64
    trap wine_stop EXIT
    wine_fresh_prefix
    wine "$(wine_path "$BUILD_DIR/dist/Vistrane-2.1.0-setup.exe")" /S
    local installed="$WINEPREFIX/drive_c/Program Files (x86)/Calderane/Vistrane"
    local pictures="$WINEPREFIX/drive_c/Program Files/Vistrane"
    [ -f "$installed/Vistrane.cpl" ] || { echo "the signed setup program installed no applet" >&2; return 1; }
    cp "$installed/uninstall.exe" "$results/uninstall.exe"

    local picture size wanted count=0
    for picture in "$pictures"/*; do
        case $picture in
            *.bmp) wanted=1920x1080 ;;
            *.jpg | *.png) wanted=3840x2160 ;;
            *) continue ;;
        esac
        size=$(identify -format '%wx%h' "$picture")
        echo "   sample $(basename "$picture"): $size"
        [ "$size" = "$wanted" ] || { echo "$(basename "$picture") is $size, not $wanted" >&2; return 1; }
        count=$((count + 1))
    done
    [ "$count" -eq 6 ] || { echo "$count sample pictures installed, not 6" >&2; return 1; }

    local logon_run wallpaper
    logon_run=$(reg_get 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' Vistrane /reg:64)
    wine "$WINE_TOOLS/run_command.exe" "$logon_run"
    wallpaper=$(reg_get 'HKCU\Control Panel\Desktop' Wallpaper)
    echo "   logon run: $logon_run"
    echo "   wallpaper: $wallpaper"
    case $wallpaper in
        *'\vistrane.bmp' | 'C:\Program Files\Vistrane\'*) ;;
        *) echo "the signed applet's logon run set no sample as the wallpaper" >&2; return 1 ;;
    esac
}

if [ "${1:-}" = install ]; then
    install_and_run "$2"
    exit
fi

root=$(cd "$scripts/.." && pwd)
cd "$root"
signed=$(realpath -m "${SIGNED_BUILD_DIR:-build-signed}")
keys=$signed/throwaway-certificate
results=$signed/signed-check
rm -rf "$keys" "$results"
mkdir -p "$keys" "$results"

echo "== A throwaway code-signing certificate in $keys"
openssl req -x509 -newkey rsa:3072 -nodes -days 2 -subj "/CN=Vistrane test publisher" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$keys/key.pem" -out "$keys/certificate.pem" 2>/dev/null
openssl rand -hex 24 >"$keys/password"
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/certificate.pem" \
    -passout "file:$keys/password" -out "$keys/publisher.p12"
rm -f "$keys/key.pem"

echo "== A signed build in $signed"
make build BUILD_DIR="$signed" VISTRANE_SIGN_CERT="$keys/publisher.p12" \
    VISTRANE_SIGN_PASSWORD_FILE="$keys/password" VISTRANE_TIMESTAMP_URL= >"$results/build.log" 2>&1 ||
    { tail -n 30 "$results/build.log" >&2; echo "the signed build failed" >&2; exit 1; }

# verify <file>: a valid signature by the throwaway certificate, over a
# SHA-256 digest.
verify() {
    local report
    if ! report=$(osslsigncode verify -CAfile "$keys/certificate.pem" -in "$1" 2>&1) ||
       ! grep -q 'Message digest algorithm *: SHA256' <<<"$report"; then
        echo "$report" >&2
        echo "check-signed-build: $1 carries no valid SHA-256 signature" >&2
        exit 1
    fi
    echo "   signed, SHA-256, verified: $(basename "$1")"
}
echo "== Verifying the signatures"
for file in "$signed"/dist/* "$signed/installer/CancelRemoval.exe"; do
    verify "$file"
done

echo "== Installing the signed setup program under Wine, then the logon run"
BUILD_DIR=$signed "$scripts/check-signed-build.sh" install "$results"
verify "$results/uninstall.exe"
echo "Signed: every file verified, the setup program installs and the applet runs."
