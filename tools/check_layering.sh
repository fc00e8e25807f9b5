#!/usr/bin/env bash
# Fails when a folder includes a header of a folder it must not depend on. Lower parts
# call upward only through interfaces they declare themselves.
set -u
cd "$(dirname "$0")/.."
declare -A allowed=(
  [store]=""
  [chart]="store"
  [participants]="store chart"
  [race]="store chart participants"
  [updater]="store"
  [window]="store chart participants race"
  [app]="store chart participants race updater window"
)
status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
    [ "$target" = "$folder" ] && continue
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *) echo "layering: $file includes from $target/"; status=1 ;;
    esac
  done < <(grep -rHE '^#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp')
done
[ $status -eq 0 ] && echo "layering: ok"
exit $status
