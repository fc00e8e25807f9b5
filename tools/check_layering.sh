#!/usr/bin/env bash
# Fails when a folder depends on a folder it must not depend on: by including its headers,
# by naming the main window below the window folder, by running SQL outside the store, or
# by a connection made with strings (which no include shows). Lower parts call upward only
# through interfaces they declare themselves.
set -u
cd "$(dirname "$0")/.."
declare -A allowed=(
  [store]=""
  [chart]="store"
  [participants]="store chart"
  [race]="store chart"
  [updater]="store"
  [window]="store chart participants race"
  [app]="store chart participants race updater window"
)
program_folders="store chart participants race updater window app tools"
status=0
fail() { echo "layering: $*"; status=1; }

for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
    [ "$target" = "$folder" ] && continue
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *) fail "$file includes from $target/" ;;
    esac
  done < <(grep -rHE '^#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp')
done

# The main window is known to the window folder and to start-up only.
while IFS= read -r hit; do
  fail "${hit%%:*} names MainWindow below window/"
done < <(grep -rlwE 'MainWindow' store chart participants race updater --include='*.h' --include='*.cpp' 2>/dev/null)

# SQL runs in store/ only.
for folder in $program_folders; do
  [ "$folder" = store ] && continue
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    fail "$hit uses QSqlQuery outside store/"
  done < <(grep -rlw 'QSqlQuery' "$folder" --include='*.h' --include='*.cpp')
done

# Connections by name bypass the includes. The one allowed: the participant list connects
# its signals to whichever receiver it is given, by the names its receiver must offer.
allowed_string_connections="participants/IconSelector.cpp"
for folder in $program_folders; do
  [ -d "$folder" ] || continue
  while IFS= read -r file; do
    case " $allowed_string_connections " in
      *" $file "*) ;;
      *) fail "$file connects by SIGNAL()/SLOT() strings" ;;
    esac
  done < <(grep -rlE '\b(SIGNAL|SLOT)\(' "$folder" --include='*.h' --include='*.cpp')
done

[ $status -eq 0 ] && echo "layering: ok"
exit $status
