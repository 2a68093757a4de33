// The arrow tool's entry in the annotation tool table. It selects the "add-arrow" mode (key 2,
// or ACTIVATE_COMMAND({ addArrowActivated: true })); drawing arrow annotations is not available yet, so
// the mode only changes the cursor and the mode reported to the application.
(function () {
  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({ name: "arrow", mode: "add-arrow", flag: "addArrowActivated", key: "2" });
})();
