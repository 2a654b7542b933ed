# ZOVEdit: `make run` starts the editor, `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# A compiler cache, where the machine has one, makes rebuilds in fresh clones quick.
CCACHE := $(shell command -v ccache 2>/dev/null)
ifneq ($(CCACHE),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
endif

.PHONY: deps configure build test coverage memcheck run bench clean

deps:
	./scripts/install-deps

configure:
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then \
	  cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: deps
	$(MAKE) build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Line and branch coverage of src/ per folder: an unoptimised build with gcov counters in its
# own folder, the whole suite run once, then gcovr. CTEST_ARGS narrows the run (e.g. -LE interop).
COVERAGE_DIR ?= build-coverage
CTEST_ARGS ?=
coverage:
	./scripts/install-deps coverage
	@if [ ! -f $(COVERAGE_DIR)/build.ninja ]; then \
	  launcher=; if command -v ccache >/dev/null; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi; \
	  cmake -S . -B $(COVERAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Coverage $$launcher \
	    -DCMAKE_CXX_FLAGS_COVERAGE="-O0 -g -DNDEBUG --coverage -fprofile-update=atomic" \
	    -DCMAKE_EXE_LINKER_FLAGS_COVERAGE="--coverage" -DZOV_BUILD_BENCH=OFF $(CMAKE_FLAGS); fi
	cmake --build $(COVERAGE_DIR) -j $(JOBS)
	find $(COVERAGE_DIR) -name '*.gcda' -delete
	(cd $(COVERAGE_DIR) && ctest -j $(JOBS) $(CTEST_ARGS)) > $(COVERAGE_DIR)/ctest.log 2>&1; \
	  status=$$?; tail -n 3 $(COVERAGE_DIR)/ctest.log; \
	  ./scripts/coverage-report $(COVERAGE_DIR); exit $$status

# The test programs under valgrind's memcheck: fails on memory errors in our code
# (scripts/memcheck; several minutes, so not part of `test`). PROGRAMS narrows it (test_pptx ...).
PROGRAMS ?=
memcheck:
	./scripts/install-deps memcheck
	$(MAKE) build
	./scripts/memcheck $(BUILD_DIR) $(PROGRAMS)

# Without ARGS the editor opens a presentation of the examples, imported afresh.
run: deps
	$(MAKE) build
	@if [ -n "$(ARGS)" ]; then ./$(BUILD_DIR)/zovedit $(ARGS); else \
	  rm -f $(BUILD_DIR)/examples.pptx; \
	  for f in examples/*.cgf; do \
	    if [ -f $(BUILD_DIR)/examples.pptx ]; then ./$(BUILD_DIR)/zovedit import $$f --into $(BUILD_DIR)/examples.pptx; \
	    else ./$(BUILD_DIR)/zovedit import $$f -o $(BUILD_DIR)/examples.pptx; fi; \
	  done; \
	  ./$(BUILD_DIR)/zovedit $(BUILD_DIR)/examples.pptx; fi

bench:
	./scripts/install-deps bench
	$(MAKE) build
	./scripts/run-benchmarks $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
