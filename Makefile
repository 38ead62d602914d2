# Ravelbook: the two commands a user needs are `make run` and `make test`.
# Both install whatever is missing first (see scripts/setup.sh), then build.

BUILD   := build
T       ?=
CTEST_ARGS := $(if $(T),-R '$(T)',)

.PHONY: all setup build run gallery test bench fuzz clean readme-images

all: build

setup:
	@bash scripts/setup.sh
	@bash scripts/sqlite.sh

# One build at a time in this tree: a second `make` waits for the first.
LOCK := flock $(BUILD)/.build-lock

build: setup
	@mkdir -p $(BUILD)
	@$(LOCK) sh -c 'cmake -S tools -B $(BUILD)/host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null && \
	    cmake --build $(BUILD)/host && \
	    cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	        -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake >/dev/null && \
	    cmake --build $(BUILD)'

run: build
	@bash scripts/run.sh

# The skin gallery: every control family skinned (ARGS="--skin FILE" loads a skin file).
gallery: build
	@bash scripts/gallery.sh $(ARGS)

test: build
	@bash scripts/test.sh $(CTEST_ARGS)

bench: build
	@bash scripts/bench.sh

fuzz: setup
	@bash fuzz/run.sh

# The README's pictures of the program in its skins (docs/images/).
readme-images: build
	@bash scripts/readme_images.sh

clean:
	rm -rf $(BUILD)
