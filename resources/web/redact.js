// The redact tool's entry in the annotation tool table. It selects the "redact" mode (key 3,
// or ACTIVATE_COMMAND({ redactActivated: true })); drawing redact annotations is not available yet, so
// the mode only changes the cursor and the mode reported to the application.
(function () {
  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({ name: "redact", mode: "redact", flag: "redactActivated", key: "3" });
})();
