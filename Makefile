# The two user commands (`make run`, `make test`), the benchmarks (`make bench`) and the fuzzing
# of the file readers (`make fuzz`).
# Each first makes sure the Debian packages are there, then configures and builds.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test soak bench fuzz tour package test-package clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/mojimaru/mojimaru

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The random player of the tests (two minutes in `make test`) for as long as asked: a restless
# child at the real program on a desktop of its own, from a fixed seed.
SOAK_MINUTES ?= 30
SOAK_SEED ?= 20261208
soak: build
	MOJIMARU_PLAYER_SECONDS=$$(( $(SOAK_MINUTES) * 60 )) MOJIMARU_PLAYER_SEED=$(SOAK_SEED) $(BUILD)/tests/desktop/random_player

# Pictures of every screen, at full-HD and at the 800x600 layout, with an index page, in
# $(TOUR_DIR). Runs on a virtual X server, in Japanese as a family's desktop would be.
TOUR_DIR ?= $(BUILD)/tour
TOUR_ENV = LANG=ja_JP.UTF-8 LANGUAGE=ja
tour: build
	rm -rf $(TOUR_DIR)
	$(TOUR_ENV) xvfb-run -a -s "-screen 0 1920x1080x24" $(BUILD)/tools/tour/mojimaru_tour $(TOUR_DIR)
	$(TOUR_ENV) QT_FONT_DPI=120 xvfb-run -a -s "-screen 0 800x600x24" $(BUILD)/tools/tour/mojimaru_tour $(TOUR_DIR) small-
	@echo "Screens: $(TOUR_DIR)/index.html and $(TOUR_DIR)/small-index.html"

# The Debian package, in $(PACKAGE_BUILD) with Debian's build flags, checked by lintian,
# desktop-file-validate and appstreamcli; the screenshots its metainfo names are left in
# $(PACKAGE_BUILD)/screenshots/. `make test-package` then installs it, runs it as an ordinary
# user, removes it, and checks that user's records on the way (needs root or sudo).
PACKAGE_BUILD ?= build-package
package: deps
	scripts/install-package-deps
	JOBS=$(JOBS) scripts/build-package $(PACKAGE_BUILD)

test-package: package
	scripts/test-package $(PACKAGE_BUILD)

# Every benchmark, on a virtual 1920 x 1080 X server: the start-up one paints a real window.
# Google Benchmark repeats each ten times and prints the mean, median and spread.
bench: build
	cd $(BUILD) && BENCHMARK_REPETITIONS=10 BENCHMARK_REPORT_AGGREGATES_ONLY=true xvfb-run -a -s "-screen 0 1920x1080x24" sh -c \
	  'for b in bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b" || exit 1; done'

# Every test under AddressSanitizer (with its leak checker) and UndefinedBehaviorSanitizer, in
# a build of its own. Leaks inside system libraries are suppressed by scripts/lsan.supp; a
# sanitizer report anywhere in the tests' output fails the run.
ASAN_BUILD ?= build-asan
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp

.PHONY: test-asan
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOJIMARU_SANITIZE=ON
	$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' $(ASAN_BUILD)/Testing/Temporary/LastTest.log; then \
	  echo "Sanitizer reports: see $(ASAN_BUILD)/Testing/Temporary/LastTest.log"; exit 1; fi

# Coverage-guided fuzzing of every file reader with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, in its own clang build. Each target runs FUZZ_SECONDS; corpora
# grow in $(FUZZ_BUILD)/corpus/<target>, an input that fails is kept in
# $(FUZZ_BUILD)/crashes/<target>/ and the run's output in $(FUZZ_BUILD)/logs/<target>.log.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_kanji fuzz_radicals fuzz_question_index fuzz_questions fuzz_hints \
	fuzz_roster fuzz_roster_journal fuzz_history fuzz_scores fuzz_settings fuzz_metafile fuzz_bitmap fuzz_stroke_order

fuzz: build
	scripts/install-fuzz-deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOJIMARU_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	$(FUZZ_BUILD)/fuzz/fuzz_seeds $(FUZZ_BUILD)/corpus $(BUILD)/mojimaru
	@failed=""; \
	for t in $(FUZZ_TARGETS); do \
	  echo "$$t: $(FUZZ_SECONDS) s"; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes/$$t $(FUZZ_BUILD)/logs; \
	  if QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 \
	       -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t/ $(FUZZ_BUILD)/corpus/$$t \
	       > $(FUZZ_BUILD)/logs/$$t.log 2>&1; then \
	    grep -E '^#[0-9]+[[:space:]]+DONE' $(FUZZ_BUILD)/logs/$$t.log | tail -n 1; \
	  else \
	    tail -n 40 $(FUZZ_BUILD)/logs/$$t.log; \
	    echo "$$t FAILED: see $(FUZZ_BUILD)/logs/$$t.log and $(FUZZ_BUILD)/crashes/$$t/"; \
	    failed="$$failed $$t"; \
	  fi; \
	done; \
	if [ -n "$$failed" ]; then echo "Failed:$$failed"; exit 1; fi

clean:
	rm -rf $(BUILD)
