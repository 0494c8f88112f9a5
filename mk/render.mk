# The headless renderer's pictures and benchmark.
#   make readme-images  renders docs/images/mirrors-on.png, mirrors-off.png, drawing-clip.png and
#                       drawing-copy.png with morvane-render
#   make bench-render   frames per second of one core at 1920x1080, mirrors on (24 wedges) and off
# Frame 360: twelve seconds in, when the first rebirths have brought pieces of every kind.
README_IMAGE_OPTIONS := --size 960x540 --seed 42 --fps 30 --frames 361 --every 360
DRAWING_IMAGE_OPTIONS := --size 480x270 --seed 42 --fps 30 --frames 361 --every 360

.PHONY: readme-images bench-render

readme-images: configure
	cmake --preset linux >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target morvane-render
	@mkdir -p docs/images
	@rm -rf $(BUILD)/readme-images && mkdir -p $(BUILD)/readme-images
	$(BUILD)/tools/render/morvane-render $(README_IMAGE_OPTIONS) --mirrors on --out $(BUILD)/readme-images/on
	$(BUILD)/tools/render/morvane-render $(README_IMAGE_OPTIONS) --mirrors off --out $(BUILD)/readme-images/off
	cp $(BUILD)/readme-images/on/frame-000360.png docs/images/mirrors-on.png
	cp $(BUILD)/readme-images/off/frame-000360.png docs/images/mirrors-off.png
	$(BUILD)/tools/render/morvane-render $(DRAWING_IMAGE_OPTIONS) --drawing clip --out $(BUILD)/readme-images/clip
	$(BUILD)/tools/render/morvane-render $(DRAWING_IMAGE_OPTIONS) --drawing copy --out $(BUILD)/readme-images/copy
	cp $(BUILD)/readme-images/clip/frame-000360.png docs/images/drawing-clip.png
	cp $(BUILD)/readme-images/copy/frame-000360.png docs/images/drawing-copy.png

bench-render: configure
	@tools/install-packages $(BENCHMARK_PACKAGES)
	cmake --preset linux >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target render_bench
	LP_NUM_THREADS=0 $(BUILD)/bench/render/render_bench
