# The projects of the scale benchmarks, from 100 thousand to a million
# records, made once from the large sample (seed 1, build/bench-sample) by
# the sqlite3 shell and kept in build/scale-bench/. Sourced with $qmpe set;
# sets $cache and project_file NAME.
seed=1
generator=1  # bump when the projects below are made differently
sample=build/bench-sample
[ -f "$sample/plant.qmp" ] || $qmpe sample "$sample" --scale large --seed $seed >/dev/null
cache=build/scale-bench/seed$seed-v$generator
projects=(tags-100k tags-400k tags-1m alarms-100k)

# The columns of TABLE in the project FILE other than id and name, quoted
# and joined with commas.
other_columns() {
  sqlite3 "$1" "SELECT group_concat('\"' || name || '\"', ', ') FROM pragma_table_info('$2')
                WHERE name NOT IN ('id', 'name')"
}

# SQL adding COPIES - 1 copies of every row of TABLE, in one statement: ids
# shifted by multiples of the largest id, names suffixed _copyK, every other
# column kept, so that what a row refers to (a tag's device, an alarm's tag)
# still exists.
copy_rows_sql() {
  local file=$1 table=$2 copies=$3
  local columns
  columns=$(other_columns "$file" "$table")
  cat <<SQL
WITH RECURSIVE copy(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM copy WHERE k < $copies - 1),
  top(stride) AS (SELECT max(id) FROM "$table")
INSERT INTO "$table" (id, name, $columns)
  SELECT id + k * stride, name || '_copy' || k, $columns FROM "$table", copy, top;
SQL
}

# Makes FOLDER/NAME/plant.qmp from the sample's project file and the SQL.
make_project() {
  local folder=$1 name=$2 sql=$3
  mkdir -p "$folder/$name"
  cp "$sample/plant.qmp" "$folder/$name/plant.qmp"
  sqlite3 "$folder/$name/plant.qmp" "PRAGMA journal_mode = OFF" "PRAGMA synchronous = OFF" \
    "BEGIN" "$sql" "COMMIT" >/dev/null
}

make_projects() {
  local building=$cache.partial file=$sample/plant.qmp start=$SECONDS
  rm -rf "$building"
  local empty="" table
  for table in $(sqlite3 "$file" "SELECT name FROM sqlite_master WHERE type = 'table'"); do
    empty+="DELETE FROM \"$table\";"
  done
  make_project "$building" empty "$empty"
  sqlite3 "$building/empty/plant.qmp" VACUUM
  make_project "$building" tags-100k ""
  make_project "$building" tags-400k "$(copy_rows_sql "$file" io_tags 4)"
  make_project "$building" tags-1m "$(copy_rows_sql "$file" io_tags 10)"
  # Each device's tags go round its ten copies, which are made after them.
  make_project "$building" alarms-100k "
    UPDATE io_tags SET device_id = device_id + (id % 10) * (SELECT max(id) FROM io_devices)
      WHERE device_id IN (SELECT id FROM io_devices);
    $(copy_rows_sql "$file" io_devices 10)
    $(copy_rows_sql "$file" alarms 5)"
  mv "$building" "$cache"
  echo "made the projects in $cache in $((SECONDS - start)) s"
}
if [ -d "$cache" ]; then echo "projects: $cache (made before)"; else make_projects; fi
project_file() { echo "$PWD/$cache/$1/plant.qmp"; }

