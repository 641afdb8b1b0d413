; The drawing layer's global primitives, as titles use them.

; --- Colours and depths

(check Background-Color '(49344 49344 49344))
(check (get-depth) 32)
(check (has-depth 8) ())
(check (orvane-choose-color 10 10 '(4096 8192 65535)) '(4096 8192 65535))
(check (orvane-choose-color 10 10 ()) '(0 0 0))
(check-error (orvane-choose-color 10 10 '(1 2)) 2)

; --- The 3D projection

(define Matrix (new-ptr 128))
(set-3d-transformation Matrix '(0 1 1) '(0 0 0) 10 100 50 2 3)
(check (3d-transform Matrix 1 2 3) '(104 . 44))
(check (3d-transform Matrix 0 0 0) '(100 . 50))
; Looking along the z axis: world y runs across, world x down, from the origin.
(set-3d-transformation Matrix '(0 0 1) '(0 0 0) 1000 20 30 1 1)
(check (3d-transform Matrix 0 0 0) '(20 . 30))
(check-error (3d-transform (new-ptr 64) 1 2 3) 2)
(check-error (3d-move-to 1 2 3 Matrix) 2)

; --- Offscreens

(check-error (picture->offscreen 32000) 2)
(check-error (dispose-offscreen 5) 2)
(dispose-ptr Matrix)
