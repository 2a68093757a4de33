// The text tool's entry in the annotation tool table. It selects the "add-text" mode (key 1,
// or ACTIVATE_COMMAND({ addTextActivated: true })); drawing text annotations is not available yet, so
// the mode only changes the cursor and the mode reported to the application.
(function () {
  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({ name: "text", mode: "add-text", flag: "addTextActivated", key: "1" });
})();
