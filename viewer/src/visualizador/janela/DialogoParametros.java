package visualizador.janela;

import java.awt.BorderLayout;
import java.awt.Color;
import java.awt.FlowLayout;
import java.awt.GridBagConstraints;
import java.awt.GridBagLayout;
import java.awt.Insets;
import java.awt.event.KeyEvent;
import java.lang.reflect.InvocationTargetException;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import javax.swing.AbstractAction;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JCheckBox;
import javax.swing.JComboBox;
import javax.swing.JComponent;
import javax.swing.JDialog;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JTextArea;
import javax.swing.JTextField;
import javax.swing.KeyStroke;
import javax.swing.SwingUtilities;
import javax.swing.WindowConstants;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.dados.OpcoesRelatorio;
import visualizador.dados.ValoresParametros;
import visualizador.design.Design;
import visualizador.design.ParametroDesign;
import visualizador.formatos.IntervaloPaginas;

/**
 * Shows the report's parameters with the values received, for the user to check or change
 * before the report runs, under the names the launcher's window uses; and the report's options
 * (summary only, zero stock left out). Values are checked on "OK": a bad one keeps the dialog open
 * with the reason, instead of failing the whole run afterwards.
 */
public final class DialogoParametros {
    /**
     * What the user confirmed: the parameters in the design's order, the options, and the pages
     * of a PDF (null: all).
     */
    public record Escolha(List<Map.Entry<String, String>> parametros, OpcoesRelatorio opcoes, IntervaloPaginas paginas) {
        public Escolha(List<Map.Entry<String, String>> parametros, OpcoesRelatorio opcoes) {
            this(parametros, opcoes, null);
        }
    }

    /** An entry of a grouping or ordering combo box: shows the title, answers the value. */
    record Opcao(int valor, String titulo) {
        @Override
        public String toString() {
            return titulo;
        }
    }

    private final Design design;
    private final JDialog janela;
    private final Map<String, JComponent> campos = new LinkedHashMap<>();
    private final JTextArea erro = new JTextArea(); // plain text: the value shown may hold markup
    private final JCheckBox somenteTotais = new JCheckBox("Somente totais (uma linha por grupo)");
    private final JCheckBox semEstoqueZerado = new JCheckBox("Deixar de fora o estoque zerado");
    private final JCheckBox paginaPorGrupo = new JCheckBox("Nova página para cada grupo");
    private final JTextField paginas = new JTextField(8);
    private final boolean comPaginas;
    private final boolean paginado;
    private Escolha resposta;

    private DialogoParametros(Design design, List<Map.Entry<String, String>> recebidos, OpcoesRelatorio opcoes,
                              Formato formato) {
        this.design = design;
        comPaginas = formato == Formato.PDF;
        paginado = formato == Formato.PDF || formato == Formato.VIS || formato == Formato.HTML;
        final Map<String, String> valores = new LinkedHashMap<>();
        for (ParametroDesign p : design.parametros()) valores.put(p.nome(), p.padrao());
        for (Map.Entry<String, String> e : recebidos) valores.put(e.getKey(), e.getValue());

        janela = new JDialog((java.awt.Frame) null, design.titulo(), true);
        janela.setName("dialogoParametros");
        janela.setDefaultCloseOperation(WindowConstants.DISPOSE_ON_CLOSE);

        final JPanel grade = new JPanel(new GridBagLayout());
        grade.setBorder(BorderFactory.createEmptyBorder(10, 10, 4, 10));
        final GridBagConstraints g = new GridBagConstraints();
        g.insets = new Insets(2, 4, 2, 4);
        g.anchor = GridBagConstraints.WEST;
        int linha = 0;
        for (ParametroDesign p : design.parametros()) {
            final JComponent campo = campo(p, valores.get(p.nome()));
            campo.setName(p.nome());
            campos.put(p.nome(), campo);
            final JLabel rotulo = new JLabel(p.titulo());
            rotulo.setLabelFor(campo);
            g.gridy = linha++;
            g.gridx = 0;
            g.fill = GridBagConstraints.NONE;
            g.weightx = 0;
            grade.add(rotulo, g);
            g.gridx = 1;
            g.fill = GridBagConstraints.HORIZONTAL;
            g.weightx = 1;
            grade.add(campo, g);
        }
        somenteTotais.setName("somenteTotais");
        somenteTotais.setSelected(opcoes.somenteTotais());
        semEstoqueZerado.setName("semEstoqueZerado");
        semEstoqueZerado.setSelected(opcoes.semEstoqueZerado());
        g.gridx = 1;
        g.gridy = linha++;
        grade.add(somenteTotais, g);
        if (design.campoEstoque() != null) {
            g.gridy = linha++;
            grade.add(semEstoqueZerado, g);
        }
        if (paginado) {
            paginaPorGrupo.setName("paginaPorGrupo");
            paginaPorGrupo.setSelected(opcoes.paginaPorGrupo());
            g.gridy = linha++;
            grade.add(paginaPorGrupo, g);
        }
        if (comPaginas) {
            paginas.setName("paginas");
            paginas.setToolTipText("Por exemplo 3-7, ou 5; em branco, todas as páginas");
            final JLabel rotulo = new JLabel("Páginas (em branco: todas)");
            rotulo.setLabelFor(paginas);
            g.gridy = linha;
            g.gridx = 0;
            g.fill = GridBagConstraints.NONE;
            g.weightx = 0;
            grade.add(rotulo, g);
            g.gridx = 1;
            grade.add(paginas, g);
        }

        erro.setName("erro");
        erro.setEditable(false);
        erro.setFocusable(false);
        erro.setOpaque(false);
        erro.setForeground(new Color(0xB00020));
        erro.setBorder(BorderFactory.createEmptyBorder(0, 14, 0, 14));
        final JButton ok = new JButton("OK");
        ok.setName("ok");
        ok.addActionListener(e -> confirmar());
        final JButton cancelar = new JButton("Cancelar");
        cancelar.setName("cancelar");
        cancelar.addActionListener(e -> janela.dispose());
        final JPanel botoes = new JPanel(new FlowLayout(FlowLayout.RIGHT));
        botoes.add(ok);
        botoes.add(cancelar);
        final JPanel sul = new JPanel(new BorderLayout());
        sul.add(erro, BorderLayout.NORTH);
        sul.add(botoes, BorderLayout.SOUTH);

        janela.getContentPane().add(grade, BorderLayout.CENTER);
        janela.getContentPane().add(sul, BorderLayout.SOUTH);
        janela.getRootPane().setDefaultButton(ok);
        janela.getRootPane().getInputMap(JComponent.WHEN_IN_FOCUSED_WINDOW)
                .put(KeyStroke.getKeyStroke(KeyEvent.VK_ESCAPE, 0), "cancelar");
        janela.getRootPane().getActionMap().put("cancelar", new AbstractAction() {
            @Override
            public void actionPerformed(java.awt.event.ActionEvent e) {
                janela.dispose();
            }
        });
        janela.pack();
        janela.setLocationRelativeTo(null);
    }

    /**
     * Shows the dialog and waits for the user: the parameters in the design's order and the
     * options, as edited, or null when the user cancels. Callable from any thread; Swing runs on
     * its own.
     */
    public static Escolha confirmar(Design design, List<Map.Entry<String, String>> recebidos, OpcoesRelatorio opcoes) {
        return confirmar(design, recebidos, opcoes, null);
    }

    /**
     * As above, for output in {@code formato} (null: not known): a PDF may hold only some pages,
     * and where there are pages each group may start one.
     */
    public static Escolha confirmar(Design design, List<Map.Entry<String, String>> recebidos, OpcoesRelatorio opcoes,
                                    Formato formato) {
        if (SwingUtilities.isEventDispatchThread()) return mostrar(design, recebidos, opcoes, formato);
        final List<Escolha> resultado = new ArrayList<>(1);
        try {
            SwingUtilities.invokeAndWait(() -> resultado.add(mostrar(design, recebidos, opcoes, formato)));
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return null;
        } catch (InvocationTargetException e) {
            final Throwable causa = e.getCause();
            if (causa instanceof RuntimeException r) throw r;
            if (causa instanceof Error r) throw r;
            throw new IllegalStateException(causa);
        }
        return resultado.get(0);
    }

    private static Escolha mostrar(Design design, List<Map.Entry<String, String>> recebidos, OpcoesRelatorio opcoes,
                                   Formato formato) {
        final DialogoParametros d = new DialogoParametros(design, recebidos, opcoes, formato);
        d.janela.setVisible(true); // modal: returns once the dialog is closed
        return d.resposta;
    }

    private JComponent campo(ParametroDesign p, String valor) {
        final List<Opcao> opcoes = switch (p.tipo()) {
            case CODIGOS -> null;
            case AGRUPAMENTO -> design.agrupamentos().stream().map(a -> new Opcao(a.valor(), a.titulo())).toList();
            case ORDEM -> design.ordens().stream().map(o -> new Opcao(o.valor(), o.titulo())).toList();
        };
        if (opcoes == null) return new JTextField(valor, 16);
        final JComboBox<Opcao> combo = new JComboBox<>(opcoes.toArray(new Opcao[0]));
        for (Opcao o : opcoes)
            if (String.valueOf(o.valor()).equals(valor)) combo.setSelectedItem(o);
        return combo;
    }

    private void confirmar() {
        final List<Map.Entry<String, String>> editados = new ArrayList<>();
        for (Map.Entry<String, JComponent> e : campos.entrySet())
            editados.add(Map.entry(e.getKey(), valor(e.getValue())));
        final IntervaloPaginas intervalo;
        try {
            ValoresParametros.analisar(design, editados);
            intervalo = comPaginas ? IntervaloPaginas.analisar(paginas.getText()) : null;
        } catch (ErroRelatorio ex) {
            erro.setText(Avisos.quebrar(ex.getMessage()));
            janela.pack();
            return;
        }
        resposta = new Escolha(List.copyOf(editados),
                new OpcoesRelatorio(somenteTotais.isSelected(), semEstoqueZerado.isSelected(),
                        paginado && paginaPorGrupo.isSelected()), intervalo);
        janela.dispose();
    }

    /** A code list as typed, blanks around the codes dropped ("1, 5" is "1,5"). */
    private static String valor(JComponent campo) {
        if (campo instanceof JTextField t) return t.getText().strip().replaceAll("\\s*,\\s*", ",");
        final Object o = ((JComboBox<?>) campo).getSelectedItem();
        return o instanceof Opcao op ? String.valueOf(op.valor()) : "";
    }
}
