// The shape tool's entry in the annotation tool table. It selects the "add-shape" mode (key 4,
// or ACTIVATE_COMMAND({ addShapeActivated: true })); drawing shape annotations is not available yet, so
// the mode only changes the cursor and the mode reported to the application.
(function () {
  window.ANNOTATION_TOOLS = window.ANNOTATION_TOOLS || [];
  window.ANNOTATION_TOOLS.push({ name: "shape", mode: "add-shape", flag: "addShapeActivated", key: "4" });
})();
