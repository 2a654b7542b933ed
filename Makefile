# ZOVEdit: `make run` starts the editor, `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test run bench clean

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

bench: deps
	$(MAKE) build
	./scripts/run-benchmarks $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
