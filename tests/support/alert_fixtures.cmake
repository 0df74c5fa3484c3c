# The pieces the end-to-end tests of the client's alerting run beside it (alert_fixtures.h), a
# small program to prove them on, and their own test.
add_library(quillo_alert_fixtures STATIC alert_fixtures.h alert_fixtures.cpp)
quillo_include_root(quillo_alert_fixtures)
target_link_libraries(quillo_alert_fixtures PUBLIC quillo_e2e_support Qt6::Test Qt6::Gui PRIVATE X11::X11)
# The python helpers are run from the source tree.
target_compile_definitions(quillo_alert_fixtures PRIVATE QUILLO_SUPPORT_DIR="${CMAKE_CURRENT_SOURCE_DIR}")

add_executable(alert_harness_subject alert_harness_subject.cpp)
target_link_libraries(alert_harness_subject PRIVATE Qt6::Widgets)

quillo_add_test(NAME test_alert_harness SOURCES test_alert_harness.cpp LIBS quillo_alert_fixtures
                DISPLAY x11 TIMEOUT 180 LABELS e2e)
target_compile_definitions(test_alert_harness PRIVATE
                           QUILLO_SUBJECT_PATH="$<TARGET_FILE:alert_harness_subject>"
                           QUILLO_ALERT_SOUND_PATH="${PROJECT_SOURCE_DIR}/resources/sounds/alert.wav")
add_dependencies(test_alert_harness alert_harness_subject)
