# shellcheck shell=bash
# Sourced by the window tests: the programs see one font family, DejaVu Sans,
# whatever other fonts the machine has, so that what a window shows and how
# dark its bold text is do not change from one machine to the next.
# pin_fonts FOLDER writes FOLDER/fonts.conf and exports FONTCONFIG_FILE; it
# returns 1 when DejaVu Sans Bold is not installed.

pin_fonts() {
  local folder=$1 bold
  bold=$(fc-list -f '%{file}\n' 'DejaVu Sans:style=Bold' 2>/dev/null | grep '/DejaVuSans-Bold\.ttf$' | head -1)
  [[ -n $bold ]] || return 1
  mkdir -p "$folder/cache"
  # Any family asked for ends at DejaVu Sans, the only family left.
  cat >"$folder/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>$(dirname "$bold")</dir>
  <cachedir>$folder/cache</cachedir>
  <match target="pattern">
    <edit name="family" mode="append_last"><string>DejaVu Sans</string></edit>
  </match>
</fontconfig>
CONF
  export FONTCONFIG_FILE=$folder/fonts.conf
}
