#!/usr/bin/env bash
# Builds paginor-cli and turns the pages of the example sites with it: the formula
# evaluator, then each site walked with the rules of examples/last.pgt. Pages are read
# from examples/*/ through each site's site.map; nothing is fetched.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
cmake --preset linux
cmake --build --preset linux --target paginor-cli

cli=build/linux/cli/paginor-cli
rules=(--rules examples/last.pgt)

header() { printf '\n=== %s\n' "$1"; }
run() {
  printf '$ paginor-cli %s\n' "$*"
  "$cli" "$@"
}

header "The rules of every example: examples/last.pgt (stored in GBK, shown in UTF-8)"
iconv -f GBK -t UTF-8 examples/last.pgt | tr -d '\r'

header "Formulas, as the computed parts of URL templates evaluate them"
run calc "7*20-20" "(3-1)*10"

header "Forum thread: built-in keywords find [下一页], 3 and 末页"
run turn next http://forum.example/thread-1024-1.html --site examples/forum "${rules[@]}" --follow 4
run turn 3 http://forum.example/thread-1024-1.html --site examples/forum "${rules[@]}"
run turn last http://forum.example/thread-1024-1.html --site examples/forum "${rules[@]}"

header "Search results: \"Next »\" by a [特别=] rule, \"« Previous\" by a [代码] rule"
run turn next "http://search.example/results?q=paginor&page=1" --site examples/results "${rules[@]}" --follow 4
run turn prev "http://search.example/results?q=paginor&page=3" --site examples/results "${rules[@]}" --follow 3

header "Novel: 下一章 by a \"*\" rule, the latest chapter by an [扩展] rule"
run turn next http://novel.example/book/88/1.html --site examples/novel "${rules[@]}" --follow 5
run turn last http://novel.example/book/88/2.html --site examples/novel "${rules[@]}"

header "Photo album paged only by its address: pages by a [网址=] template, next by a fixed position"
run turn 3 "http://photos.example/album.php?id=42&start=0" --site examples/gallery "${rules[@]}"
run turn 1 "http://photos.example/album.php?id=42&start=20" --site examples/gallery "${rules[@]}"
run turn next "http://photos.example/album.php?id=42&start=10" --site examples/gallery "${rules[@]}" \
  --xy examples/gallery/xy.txt

header "Why a command does what it does: explain tells every stage, and the action"
run explain next "http://search.example/results?q=paginor&page=1" --site examples/results "${rules[@]}"

smart=(--site examples/smart "${rules[@]}" --smart)
header "Smart fallback (--smart): page words in many languages, rel links, image links, the address"
run turn next http://blog.example/ "${smart[@]}" --follow 3
run turn prev http://tu.example/set/77_3.html "${smart[@]}" --follow 3
run turn next "http://nikki.example/entries?page=1" "${smart[@]}" --follow 3
run turn next "http://schuhe.example/kategorie/schuhe?seite=1" "${smart[@]}" --follow 3
run turn last http://diario.example/noticias/ "${smart[@]}"
run turn next "http://forum.example.ru/topic/15/?p=1" "${smart[@]}" --follow 3
run turn next http://mag.example/story/42/intro "${smart[@]}" --follow 3
run turn prev http://manhua.example/comic/9/3.html "${smart[@]}" --follow 3
run turn next "http://find.example/search?q=paging&start=0" "${smart[@]}" --follow 3
run turn next http://news.example/2026/1208/article-1.html "${smart[@]}" --follow 2
run explain next http://blog.example/page/2/ "${smart[@]}"

printf '\nAll examples ran.\n'
