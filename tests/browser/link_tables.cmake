# The link tables the Windows test browser serves are paginor-cli's reading of real
# pages: each is regenerated here and must match the checked-in file.
set(link_tables
  "forum1 examples/forum/page1.html http://forum.example/thread-1024-1.html"
  "forum2 examples/forum/page2.html http://forum.example/thread-1024-2.html"
  "forum3 examples/forum/page3.html http://forum.example/thread-1024-3.html"
  "forum4 examples/forum/page4.html http://forum.example/thread-1024-4.html"
  "results1 examples/results/page1.html http://search.example/results?q=paginor&page=1"
  "gallery10 examples/gallery/start10.html http://photos.example/album.php?id=42&start=10"
  "imagemap tests/browser/data/imagemap.html http://map.example/map-2.html"
  "iemode1 tests/browser/data/iemode1.html http://ie.example/list-1.html"
  "iemode2 tests/browser/data/iemode2.html http://ie.example/list-2.html"
  "iemode3 tests/browser/data/iemode3.html http://ie.example/list-3.html"
  "iemode4 tests/browser/data/iemode4.html http://ie.example/list-4.html")
foreach(entry IN LISTS link_tables)
  separate_arguments(entry)
  list(GET entry 0 name)
  list(GET entry 1 page)
  list(GET entry 2 url)
  add_test(NAME browser_link_table_${name}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/run_cli.sh $<TARGET_FILE:paginor-cli>
                   ${PROJECT_SOURCE_DIR} 0 tests/browser/data/${name}.tsv - links ${page} --url ${url})
  set_tests_properties(browser_link_table_${name} PROPERTIES LABELS cli TIMEOUT 60)
endforeach()

# Bad arguments: a message on standard error and status 2.
foreach(case "missing_page|cannot find|links examples/none.html"
             "no_page|give a PAGE|links --url http://x.example/"
             "missing_tree|cannot find the file|turn next examples/forum/page1.html --tree tests/browser/data/none")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 message)
  list(GET case 2 args)
  separate_arguments(args)
  add_test(NAME browser_link_table_${name}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/run_cli.sh $<TARGET_FILE:paginor-cli>
                   ${PROJECT_SOURCE_DIR} 2 - ${message} ${args})
  set_tests_properties(browser_link_table_${name} PROPERTIES LABELS cli TIMEOUT 60)
endforeach()

# Turning over the trees Chromium served for the example pages does what the engine
# does on their HTML (scripts/capture_ax_trees.py captured them).
add_test(NAME browser_ax_trees_match_html
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/browser/compare_ax_trees.sh $<TARGET_FILE:paginor-cli>
                 ${PROJECT_SOURCE_DIR})
set_tests_properties(browser_ax_trees_match_html PROPERTIES LABELS cli TIMEOUT 600)
