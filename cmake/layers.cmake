# The layers of the product and the graph of their dependencies, bottom first.
# A layer includes only its own headers and those of the layers it names here,
# with theirs that they pass on as PUBLIC; tests/layers checks every include.
#
#   form, world          the controls as data, the time, the surface; the tables, the rng,
#                        the border rules' numbers
#   state                the Game: both windows' controls, the world, what handlers keep
#   sim                  the tick over the tables (draws the dots and sparks)
#   panel                the settings panel's rules
#   create, editor       "Go" building a system; the pause editor (both read the panel)
#   stats                the clock, the score, the tally
#   app                  wires the handlers to both windows and loads them
#   platform             files on disk (Qt): saves, pictures, videos (FFmpeg)
#   script, qt           the headless face and the window
include(${CMAKE_CURRENT_LIST_DIR}/velmora_layer.cmake)

velmora_layer(form
  SOURCES clock.cpp control.cpp convert.cpp form.cpp player.cpp scheduler.cpp surface.cpp)
velmora_layer(world
  SOURCES rng.cpp world_fields.cpp)
velmora_layer(state
  SOURCES clock_watch.cpp panel_memory.cpp time_speed.cpp
  PUBLIC form world)
velmora_layer(sim
  SOURCES bomb.cpp border.cpp engine_stages.cpp gravity.cpp lane_pool.cpp merge.cpp
          close_blocks.cpp axial_lanes.cpp lane_loops_avx2.cpp lane_loops_avx512.cpp
          lane_loops_baseline.cpp lane_width.cpp orbit.cpp pull_rows.cpp tick.cpp
  PUBLIC form world Threads::Threads)
velmora_layer(panel
  SOURCES bounded_field.cpp clear_period.cpp count_fields.cpp fields.cpp gravity_fields.cpp
          options.cpp planet_count.cpp presets.cpp spin_default.cpp spread_field.cpp
          sun_image.cpp
  PUBLIC state)
velmora_layer(create
  SOURCES go_blink.cpp placement.cpp start.cpp start_readings.cpp
  PUBLIC state
  PRIVATE panel)
velmora_layer(editor
  SOURCES editing.cpp editor_numbers.cpp live_only.cpp marker.cpp pause.cpp selection.cpp
  PUBLIC state
  PRIVATE panel sim)
velmora_layer(stats
  SOURCES clock_stats.cpp score.cpp tally.cpp tally_line.cpp
  PUBLIC state)
velmora_layer(app
  SOURCES end_screen.cpp engine_events.cpp field_tools.cpp layout.cpp main_window.cpp open_system.cpp
          new_system.cpp own_lanes.cpp picture_change.cpp picture_runs.cpp preview.cpp
          system_snapshot.cpp time_control.cpp timeline.cpp wiring.cpp control_names.cpp
  PUBLIC state
  PRIVATE sim panel create editor stats)

velmora_layer(platform WITH_QT
  SOURCES png_picture.cpp system_file.cpp system_format.cpp system_json.cpp tally_file.cpp
          file_name.cpp player_file.cpp field_frame.cpp sun_picture.cpp video_file.cpp
  PUBLIC app Qt6::Core Qt6::Gui
  PRIVATE nlohmann_json::nlohmann_json PNG::PNG PkgConfig::FFMPEG)
velmora_layer(script WITH_QT
  SOURCES control_items.cpp headless.cpp json_dump.cpp render.cpp runner.cpp world_items.cpp
          video_export.cpp
  PUBLIC platform Qt6::Gui)
# qt/main.cpp is the executable's own.
velmora_layer(qt WITH_QT
  SOURCES click_widgets.cpp end_window_view.cpp field_canvas.cpp field_edit.cpp field_hands.cpp
          field_hands_keys.cpp field_view.cpp
          form_binder.cpp game_session.cpp help_window.cpp main_window_view.cpp
          model_buttons.cpp new_system_button.cpp panel_captions.cpp picture_file.cpp pictures.cpp qt_host.cpp
          seek_progress.cpp shortcuts.cpp speed_label.cpp system_files.cpp time_view_keys.cpp
          timeline_bar.cpp timer_driver.cpp web_page.cpp export_progress.cpp video_export.cpp video_export_dialog.cpp
  PUBLIC script Qt6::Widgets)
