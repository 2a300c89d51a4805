#!/usr/bin/env bash
# Writes the fuzz targets' seed corpus under fuzz/corpus/<target>/ from the simulator's real
# replies (build/bin/qx_alliance_server on loopback, a few small listings so that pages stay a
# few KB), plus hand-made inputs where no server answers: refusals and redirects for the
# envelope, search conditions for the query builder, databases and archives for the snapshot
# check. Every file starts with the target's selector byte (see the fuzz_*.cpp headers).
# Usage: scripts/fuzz_corpus.sh [server binary]
set -euo pipefail
cd "$(dirname "$0")/.."
SERVER="${1:-build/bin/qx_alliance_server}"
if [ ! -x "$SERVER" ]; then
  echo "fuzz_corpus: $SERVER is missing; build it first (cmake --build build --target qx_alliance_server)" >&2
  exit 1
fi

PORT_FILE="$(mktemp)"
"$SERVER" --port 0 --listings 6 --communities 4 --page-size 3 >"$PORT_FILE" 2>/dev/null &
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null || true; rm -f "$PORT_FILE"' EXIT
for _ in $(seq 100); do
  [ -s "$PORT_FILE" ] && break
  sleep 0.1
done
PORT="$(head -n1 "$PORT_FILE")"
[ -n "$PORT" ] || { echo "fuzz_corpus: the simulator did not start" >&2; exit 1; }

python3 - "http://127.0.0.1:$PORT" fuzz/corpus <<'PY'
import json, os, sqlite3, sys, tempfile, urllib.parse, urllib.request, zipfile

base, root = sys.argv[1], sys.argv[2]

def post(path, form=None):
    body = urllib.parse.urlencode(form or {}).encode()
    request = urllib.request.Request(base + path, data=body, headers={"dump": "1"})
    with urllib.request.urlopen(request, timeout=10) as reply:
        return reply.read()

def save(target, name, selector, payload):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(payload, str):
        payload = payload.encode()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes([selector]) + payload)

def data_of(body):
    return json.dumps(json.loads(body).get("data"), ensure_ascii=False, separators=(",", ":"))

# Sync pages of both books, page by page, as the sync asks for them.
sync = {"lasttime": "2018/01/01 00:00:00", "community_lastupdatatime": "2018/01/01 00:00:00", "cityid": "340100"}
for joint, path in ((0, "/app/app/synchousebook"), (1, "/app/app/LianmaiSyncHousebook")):
    for page in (1, 2, 3):
        body = post(path, dict(sync, pageindex=str(page), **({"lianmai": "1"} if joint else {})))
        save("syncpage", "page%d-book%d" % (page, joint), joint, data_of(body))
        if joint == 0:
            save("envelope", "sync-page%d" % page, 0, body)
save("syncpage", "broken-list", 0, '{"housebook":{"id":1},"dels":"1,,x,2"}')
save("syncpage", "future-mark", 0, '{"housebook":[{"id":7,"lasttime":"2999/1/1 0:00:00"}],"nextpage":false}')

# Settings and reference downloads, in the order of the downloads target's code table.
downloads = ["/app/app/getdistric", "/app/publics/housecategory", "/app/workcenter/jobposts",
             "/app/account/initialize", "/app/app/gethousebookconfig", "/app/app/gethousebookcategory",
             "/soft/softpack/basePcAppPosts", "/app/workcenter/currentauth", "/app/app/getpublicofferconfig",
             "/gather/black/cityList", "/app/app/getclientbookconfig", "/app/app/getclientbookbconfig",
             "/app/app/scontractSetting", "/app/app/scontractrentsetting", "/app/call/getsetting",
             "/soft/community/search/range", "/soft/omp/emp/dept_staff_info", "/soft/lmai/user/info",
             "/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime", "/app/fd/getfendanguize",
             "/app/fd/GetRentFendanguize"]
for index, path in enumerate(downloads):
    body = post(path, {"cityId": "340100", "deptids": "", "distance": "0"})
    save("downloads", "code%02d" % index, index, data_of(body))
    save("envelope", "download%02d" % index, 0, body)

# Envelopes no healthy server sends on its own.
save("envelope", "refusal", 0, '{"code":405,"message":"房源已锁定","data":null}')
save("envelope", "lost-login", 0, '{"code":"400","message":"请重新登录"}')
save("envelope", "moved", 0, '<html><body>Object moved to <a href="/app/app/synchousebook">here</a></body></html>')
save("envelope", "transport-failure", 1, "")
save("envelope", "external", 0x20, '{"anything":true}')

# Search conditions: every key of the search bar, with hostile texts among them.
hostile = "x' or 1=1; drop table house; -- %_\"[]`%1"
conditions = {"name": "翡翠湖畔花园", "xiaoid": "12", "district": ["蜀山区", hostile], "area": hostile,
              "buildingNo": "3", "unitNo": hostile, "roomNo": "1201", "id": "17", "tel": "138",
              "houseType": "住宅", "hall": "2", "room": "3", "peitao": "宽带", "traffic": hostile, "tag": "满五",
              "price_up": "100", "price_down": "200", "size_up": "x", "floor_down": "1e309",
              "publishTime_up": "2023/1/2", "updataTime_down": "2023-01-02 3:04", "followTime_up": hostile,
              "lurupeople": [{"id": 1, "type": "dept"}], "lurudept": "[{\"id\":\"2\"}]",
              "xiezuo": "已维护", "xiezuo_null": "待实勘", "xiezuo_weihu": "13800000001",
              "keyWord": "待处理 满五 " + hostile, "state": ["有效", hostile], "shenhestatus": "1"}
queries = {
    "all-keys": {"mode": 5, "conditions": conditions, "columnFilters": {"name": hostile, "tags": "满五"},
                 "ids": ["1", "x", hostile], "sortKey": "price", "page": 3, "pageSize": 20,
                 "fields": ["name", hostile]},
    "mine-rent": {"mode": 1, "subMode": 2, "activeOnly": True, "sortKey": hostile, "sortDescending": False},
    "paging-extremes": {"mode": 4, "page": 2147483647, "pageSize": 2147483647},
    "keyword-only": {"mode": 6, "conditions": {"keyWord": "%%__''\\"}},
}
for name, query in queries.items():
    save("querybuilder", name, 0, json.dumps(query, ensure_ascii=False))
    save("querybuilder", name + "-joint", 1, json.dumps(query, ensure_ascii=False))

# Snapshots: a small database with listings, the same in an archive, and archives that lie.
with tempfile.TemporaryDirectory() as tmp:
    db_path = os.path.join(tmp, "1001.db")
    db = sqlite3.connect(db_path)
    db.execute("pragma page_size=512")
    db.execute("create table house(id int unique, types int, name varchar, lasttime varchar)")
    db.execute("create index house_kind on house(types, lasttime)")
    db.execute("create table company_config(lastupdatatime varchar, version varchar)")
    db.executemany("insert into house values(?,?,?,?)",
                   [(i, i % 2, "翡翠湖畔花园%d" % i, "2023/01/02 03:04:%02d" % i) for i in range(1, 9)])
    db.commit()
    db.execute("vacuum")
    db.close()
    with open(db_path, "rb") as f:
        database = f.read()
    save("snapshot", "database", 0, database)
    # An index that lists other rows than its table: SQLite's quick check lets it pass.
    db = sqlite3.connect(db_path)
    db.execute("pragma writable_schema=ON")
    db.execute("update sqlite_master set sql='create index house_kind on house(lasttime)' where name='house_kind'")
    db.commit()
    db.close()
    with open(db_path, "rb") as f:
        save("snapshot", "index-mismatch", 0, f.read())
    def archive(entries):
        path = os.path.join(tmp, "a.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            for name, content in entries:
                z.writestr(name, content)
        with open(path, "rb") as f:
            return f.read()
    save("snapshot", "archive", 1, archive([("1001.db", database)]))
    save("snapshot", "archive-other-name", 0, archive([("sub/other.db", database), ("readme.txt", "x")]))
    save("snapshot", "archive-escaping", 1, archive([("../1001.db", database)]))
    save("snapshot", "archive-not-database", 1, archive([("1001.db", "SQLite format 3\0 but no more")]))
    save("snapshot", "zip-named-database", 0, database[:600])
PY
echo "fuzz_corpus: written under fuzz/corpus/"
