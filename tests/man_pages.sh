#!/usr/bin/env bash
# man_pages.sh ROOT MANDOC: every manual page passes mandoc's lint with
# nothing to say, and every status in the README's tables stands in the page
# of its tool, on one line with its message, so the two can't drift apart.
set -u
root=$1
mandoc=$2
fail=0
bad() { echo "FAIL: $*"; fail=1; }

# All pages at once, from their folder, where each finds the others that it
# names under SEE ALSO.
lint=$(cd "$root/man" && "$mandoc" -T lint ./*.1 2>&1)
[[ -z $lint ]] || bad "$lint"

# Each page's SEE ALSO names every other tool of the family.
for page in "$root"/man/*.1; do
  see_also=$(sed -n '/^\.Sh SEE ALSO/,/^\.Sh/p' "$page")
  for tool in glyphrow glyphdraw glyphcheck glyphpick glyphshow; do
    [[ $(basename "$page") == $tool.1 ]] || grep -q "^\.Xr $tool 1" <<<"$see_also" ||
      bad "$(basename "$page") doesn't name $tool under SEE ALSO"
  done
done

# The README's status tables: each belongs to the tool whose heading it
# stands under (glyphrow's under "Exit statuses and messages").
tool=""
checked=0
while IFS= read -r line; do
  case $line in
    "## Exit statuses"*) tool=glyphrow ;;
    "## glyphdraw"*) tool=glyphdraw ;;
    "## glyphcheck"*) tool=glyphcheck ;;
    "## glyphpick"*) tool=glyphpick ;;
    "## glyphshow"*) tool=glyphshow ;;
    "## "*) tool="" ;;
  esac
  [[ -n $tool && $line =~ ^\|\ ([0-9]+)\ \|\ (\`([^\`]*)\`)?\ *\| ]] || continue
  status=${BASH_REMATCH[1]}
  message=${BASH_REMATCH[3]//\\|/|}  # a table cell writes its pipes as \|
  rendered=$("$mandoc" -T ascii -O width=400 "$root/man/$tool.1" | col -b)
  found=$(awk -v s="$status" -v m="$message" '
    $1 == s && (m == "" || index($0, m)) { print "yes"; exit }' <<<"$rendered")
  [[ $found == yes ]] || bad "$tool.1 lacks status $status${message:+ with \"$message\"}"
  checked=$((checked + 1))
done <"$root/README.md"
(( checked >= 20 )) || bad "only $checked statuses found in the README's tables"
echo "$checked statuses checked against the manual pages"
exit $fail
